// The desk on a database server whose connection breaks off: an event cut
// short says it was not recorded and leaves no trace; the next scan works
// on a new connection; desks that outlive a restart of the server hear each
// other again.
#include "data/ChangeWatch.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "support/PgPrivateServer.h"

#include <QCheckBox>
#include <QtTest>
#include <memory>

class TestServerDesk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("TOOLDESK_TEST_ENGINE", "PostgreSQL"); }
    void connectionLostBetweenEvents();
    void connectionLostDuringEvent();
    void desksHearEachOtherAfterServerRestart_data();
    void desksHearEachOtherAfterServerRestart();
    void cleanupTestCase() { m_private.reset(); }

private:
    std::unique_ptr<PgPrivateServer> m_private; // stopped and started by the test
};

namespace {

void killDeskConnection(DeskFixture& f)
{
    const int pid = f.db().scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
    f.server()->adminExec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
}

// Records an event at a desk as its scans would; the new journal row's key.
qint64 recordAt(Session& desk, const QString& recipient, const QString& tool)
{
    desk.desk().selectCode(recipient);
    desk.desk().selectCode(tool);
    desk.desk().record(QDateTime::currentDateTime());
    return desk.connection().scalar(QStringLiteral("SELECT MAX(ID) FROM History")).toLongLong();
}

qint64 newestShown(Session& desk)
{
    const Query& journal = desk.qHistory;
    return journal.isEmpty() ? 0 : journal.value(0, journal.fieldIndex(QStringLiteral("ID"))).toLongLong();
}

// Waits until another desk's notice has reached this desk's connection,
// collected as its looks collect it; the wait is only against a hang.
bool noticeReached(TfmMain& desk, QSignalSpy& notices)
{
    auto* watch = desk.findChild<ChangeWatch*>();
    for (int tries = 0; notices.isEmpty() && tries < 1000; ++tries) {
        watch->collectNotices();
        if (notices.isEmpty())
            QTest::qWait(10);
    }
    return !notices.isEmpty();
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
    QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Выдача или возврат НЕ записаны: потеряна связь с сервером "
                                                       "базы данных. Повторите сканирование.")),
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

void TestServerDesk::desksHearEachOtherAfterServerRestart_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("crashed") << "immediate";
    QTest::newRow("shut down") << "fast";
}

void TestServerDesk::desksHearEachOtherAfterServerRestart()
{
    QFETCH(QString, mode);
    if (!m_private)
        m_private = std::make_unique<PgPrivateServer>();
    PgPrivateServer& server = *m_private;
    server.up(); // whatever the row before left

    // Desk A is the test's program, on a database of the private server;
    // desk B a second program on its Data folder.
    const QByteArray sharedServer = qgetenv("TOOLDESK_TEST_PGHOST");
    qputenv("TOOLDESK_TEST_PGHOST", server.host().toLocal8Bit());
    DeskFixture a;
    qputenv("TOOLDESK_TEST_PGHOST", sharedServer);
    QVERIFY(a.started());
    a.addRecipient("U1");
    a.addRecipient("U2");
    for (const char* tool : {"T1", "T2", "T3"})
        a.addTool(QLatin1String(tool));
    ProgramRun b(a.data().folder());
    QVERIFY(b.started);
    TfmMain& mainA = a.main();
    TfmMain& mainB = *b.app.main();
    qint64 nowMs = 0; // A's clock for its attempts to reconnect
    a.db().setClock([&nowMs] { return nowMs; });
    mainA.TimerTimer();
    mainB.TimerTimer();

    server.down(mode);
    mainA.TimerTimer(); // the idle look while the server is away
    QVERIFY(a.db().isLost());
    QCOMPARE(a.fakes().dialogs.texts("error"), QStringList());
    try {
        mainA.findChild<ChangeWatch*>()->changedElsewhere();
        QFAIL("the idle look went through without a server");
    } catch (const DbError& e) {
        QVERIFY2(e.cause() == DbError::Cause::ConnectionLost || e.cause() == DbError::Cause::ServerUnreachable,
                 qPrintable(e.text()));
        QVERIFY2(!e.engineText().contains(u"Driver not loaded"), qPrintable(e.text()));
    }

    server.up();
    nowMs += 1000; // A's next attempt is due at its next look
    // B's first scans after the return find its old connection dead and
    // work on a new one; A's next look reconnects and shows what it missed.
    const qint64 missed = recordAt(b.app.session(), QStringLiteral("U1"), QStringLiteral("T1"));
    mainA.TimerTimer();
    QVERIFY(!a.db().isLost());
    QCOMPARE(newestShown(a.session()), missed);

    // From then on each desk hears the other's events on its new connection.
    QSignalSpy noticesA(mainA.findChild<ChangeWatch*>(), &ChangeWatch::noticed);
    const qint64 atB = recordAt(b.app.session(), QStringLiteral("U2"), QStringLiteral("T2"));
    QVERIFY2(noticeReached(mainA, noticesA), "desk A heard nothing of desk B after the restart");
    mainA.TimerTimer();
    QCOMPARE(newestShown(a.session()), atB);

    mainB.TimerTimer(); // B listens again and looks once
    QSignalSpy noticesB(mainB.findChild<ChangeWatch*>(), &ChangeWatch::noticed);
    a.scan("U1");
    a.scan("T3");
    QCOMPARE(a.fakes().dialogs.texts("error"), QStringList());
    const qint64 atA = newestShown(a.session());
    QVERIFY(atA > atB);
    QVERIFY2(noticeReached(mainB, noticesB), "desk B heard nothing of desk A after the restart");
    mainB.TimerTimer();
    QCOMPARE(newestShown(b.app.session()), atA);
}

QTEST_MAIN(TestServerDesk)
#include "tst_serverdesk.moc"
