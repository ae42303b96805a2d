// Four copies of the program recording at once on 50 shared tools: no tool
// is ever issued twice, and every tool's state is its last journal row.
#include "data/Connection.h"
#include "support/DeskFixture.h"

#include <QHash>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

class TestFourDesks : public QObject
{
    Q_OBJECT
private slots:
    void noDoubleIssue_data();
    void noDoubleIssue();
};

void TestFourDesks::noDoubleIssue_data()
{
    QTest::addColumn<QByteArray>("engine");
    QTest::newRow("file") << QByteArray("SQLite");
    QTest::newRow("server") << QByteArray("PostgreSQL");
}

void TestFourDesks::noDoubleIssue()
{
    QFETCH(QByteArray, engine);
    constexpr int kDesks = 4;
    constexpr int kTools = 50;
    constexpr int kRounds = 10; // 500 events a desk
    qputenv("TOOLDESK_TEST_ENGINE", engine);
    DeskFixture f;
    QVERIFY(f.started());
    QStringList tools;
    for (int i = 1; i <= kTools; ++i) {
        tools << QStringLiteral("T%1").arg(i, 2, 10, QLatin1Char('0'));
        f.addTool(tools.last());
    }
    QHash<QString, QString> recipientOfKey;
    for (int d = 1; d <= kDesks; ++d)
        recipientOfKey.insert(QString::number(f.addRecipient(QStringLiteral("U%1").arg(d))),
                              QStringLiteral("U%1").arg(d));

    QList<QProcess*> desks;
    for (int d = 1; d <= kDesks; ++d) {
        auto* p = new QProcess(this);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Each desk goes through the tools from another starting point, so they meet on every tool.
        QStringList order = tools.mid((d - 1) * 12) + tools.mid(0, (d - 1) * 12);
        p->start(QStringLiteral(DESK_SCANNER),
                 QStringList{f.data().folder(), QStringLiteral("U%1").arg(d), QString::number(kRounds)} + order);
        desks << p;
    }
    for (QProcess* p : desks) {
        QVERIFY(p->waitForFinished(280000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0); // no desk was told an event failed
    }

    Connection db;
    db.open(f.db().description());
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM History").toInt(), kDesks * kTools * kRounds);
    const QString issued = QStringLiteral("Выдан");
    for (const QString& tool : tools) {
        // Issue and return alternate: never two issues without a return between.
        Statement q = db.run("SELECT Operation, ID_U FROM History WHERE ID_T=? ORDER BY ID", {tool});
        bool out = false;
        QString lastRecipient;
        while (q->next()) {
            const bool isIssue = q->value(0).toString() == issued;
            QVERIFY2(isIssue != out, qPrintable(tool + QStringLiteral(": issued twice or returned while in store")));
            out = isIssue;
            lastRecipient = q->value(1).toString();
        }
        QCOMPARE(db.scalar("SELECT Passed FROM Tools WHERE ID_Tool=?", {tool}).toInt(), out ? 0 : 1);
        QCOMPARE(recipientOfKey.value(db.scalar("SELECT OwnerID FROM Tools WHERE ID_Tool=?", {tool}).toString()),
                 lastRecipient);
    }
}

QTEST_MAIN(TestFourDesks)
#include "tst_fourdesks.moc"
