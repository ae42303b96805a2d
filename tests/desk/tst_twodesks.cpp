// Two copies of the program recording events on one database file at once:
// nothing is lost and every tool's state matches its journal.
#include "data/Connection.h"
#include "support/DeskFixture.h"

#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

class TestTwoDesks : public QObject
{
    Q_OBJECT
private slots:
    void concurrentDesksKeepToolsConsistent();
};

void TestTwoDesks::concurrentDesksKeepToolsConsistent()
{
    constexpr int kRounds = 50;
    const QStringList tools{"T1", "T2", "T3", "T4"};
    DeskFixture f;
    QVERIFY(f.started());
    const qint64 keyA = f.addRecipient("UA", "Первый");
    const qint64 keyB = f.addRecipient("UB", "Второй");
    for (const QString& t : tools)
        f.addTool(t);

    QList<QProcess*> desks;
    for (const QString& recipient : {QStringLiteral("UA"), QStringLiteral("UB")}) {
        auto* p = new QProcess(this);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(DESK_SCANNER),
                 QStringList{f.data().folder(), recipient, QString::number(kRounds)} + tools);
        desks << p;
    }
    for (QProcess* p : desks) {
        QVERIFY(p->waitForFinished(120000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }

    Connection db;
    db.open(f.db().description());
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM History").toInt(), 2 * kRounds * int(tools.size()));
    for (const QString& tool : tools) {
        // Issue and return alternate for each tool: never issued twice in a row.
        Statement q = db.run("SELECT Operation, ID_U FROM History WHERE ID_T=? ORDER BY ID", {tool});
        QString expected = QStringLiteral("Выдан");
        QString lastRecipient;
        int rows = 0;
        while (q->next()) {
            QCOMPARE(q->value(0).toString(), expected);
            expected = expected == u"Выдан" ? QStringLiteral("Сдан") : QStringLiteral("Выдан");
            lastRecipient = q->value(1).toString();
            ++rows;
        }
        QCOMPARE(rows, 2 * kRounds);
        const bool lastWasIssue = expected == u"Сдан";
        QCOMPARE(db.scalar("SELECT Passed FROM Tools WHERE ID_Tool=?", {tool}).toInt(), lastWasIssue ? 0 : 1);
        QCOMPARE(db.scalar("SELECT OwnerID FROM Tools WHERE ID_Tool=?", {tool}).toString(),
                 QString::number(lastRecipient == u"UA" ? keyA : keyB));
    }
}

QTEST_MAIN(TestTwoDesks)
#include "tst_twodesks.moc"
