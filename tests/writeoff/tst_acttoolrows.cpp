#include "tests/data/DbFixture.h"
#include "writeoff/ActToolRows.h"
#include "writeoff/ActWriteOff.h"

#include <QtTest>

// The act's tools read from the window's result set: every row, in order,
// with the columns the act's table shows.
class TestActToolRows : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryToolOfTheResultSet();
};

void TestActToolRows::readsEveryToolOfTheResultSet()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::upgrade(db);
    // More rows than the result set loads at first.
    const int count = 700;
    {
        Connection::Transaction t(db);
        for (int i = 1; i <= count; ++i) {
            const QVariant price = i == 2 ? QVariant() : QVariant(i + 0.5);
            db.exec(
                QStringLiteral("INSERT INTO Tools (ID_Tool, Naim, Price, Inv, WriteOff_AKT_ID) VALUES (?, ?, ?, ?, ?)"),
                {dbfixture::toolCode(i), QStringLiteral("Ножовка %1").arg(i), price, QStringLiteral("И-%1").arg(i), 5});
        }
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Naim, Price, Inv, WriteOff_AKT_ID) VALUES (?, ?, ?, ?, ?)"),
                {QStringLiteral("OTHER"), QStringLiteral("чужой"), 1.0, QStringLiteral("X"), 6});
        t.commit();
    }
    Query container(db);
    container.setStatement(ActWriteOff::tools(5));
    container.open();
    container.setRecNo(3);

    const QList<ActTool> tools = actToolsOf(container);
    QCOMPARE(tools.size(), count);
    QCOMPARE(container.recNo(), 3);
    QCOMPARE(tools.first().name, QStringLiteral("Ножовка 1"));
    QCOMPARE(tools.first().price, std::optional<double>(1.5));
    QCOMPARE(tools.first().inventory, QStringLiteral("И-1"));
    QVERIFY(!tools.at(1).price);
    QCOMPARE(tools.last().name, QStringLiteral("Ножовка %1").arg(count));
    QCOMPARE(tools.last().price, std::optional<double>(count + 0.5));
}

QTEST_GUILESS_MAIN(TestActToolRows)
#include "tst_acttoolrows.moc"
