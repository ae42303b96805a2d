// The desk on a database server whose connection breaks off: an event cut
// short says it was not recorded and leaves no trace; the next scan works
// on a new connection.
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"

#include <QCheckBox>
#include <QtTest>

class TestServerDesk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("TOOLDESK_TEST_ENGINE", "PostgreSQL"); }
    void connectionLostBetweenEvents();
    void connectionLostDuringEvent();
};

namespace {

void killDeskConnection(DeskFixture& f)
{
    const int pid = f.db().scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
    f.server()->adminExec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
}

} // namespace

void TestServerDesk::connectionLostBetweenEvents()
{
    DeskFixture f;
    QVERIFY(f.started());
    QVERIFY(f.server());
    f.addRecipient("U1");
    f.addTool("T1");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.journalCount(), 1);

    killDeskConnection(f);
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("Сдан"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
}

void TestServerDesk::connectionLostDuringEvent()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient("U1");
    f.addTool("T1");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    // The server drops the desk's connection as the journal row is written.
    f.server()->adminExec(QStringLiteral(
        "CREATE FUNCTION drop_desk() RETURNS trigger LANGUAGE plpgsql AS "
        "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); PERFORM pg_sleep(1); RETURN NEW; END $$"));
    f.server()->adminExec(
        QStringLiteral("CREATE TRIGGER drop_desk BEFORE INSERT ON history FOR EACH ROW EXECUTE FUNCTION drop_desk()"));
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.fakes().dialogs.shown.size(), 0); // no box to eat the next scan
    QVERIFY2(f.deskMessage().startsWith(
                 f.session().texts().rsEventNotRecorded.arg(f.session().texts().rsCauseConnectionLost)),
             qPrintable(f.deskMessage()));

    f.server()->adminExec(QStringLiteral("DROP TRIGGER drop_desk ON history"));
    QCOMPARE(f.journalCount(), 0); // on a new connection: nothing of the event was kept
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    f.fakes().dialogs.clear();
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
}

QTEST_MAIN(TestServerDesk)
#include "tst_serverdesk.moc"
