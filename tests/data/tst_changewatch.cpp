// The cheap look a desk takes every second: has another desk committed?
#include "DbFixture.h"
#include "data/ChangeWatch.h"
#include "data/Columns.h"
#include "data/SqliteDialect.h"

#include <QSqlDriver>
#include <QThread>
#include <QtTest>

Q_DECLARE_METATYPE(QSqlDriver::NotificationSource)

class TestChangeWatch : public QObject
{
    Q_OBJECT
private slots:
    void counterSeesOnlyOtherConnectionsCommits();
    void reconnectionToldOnceEvenAfterARestart();
    void notificationsFromOtherDesksCount_data();
    void notificationsFromOtherDesksCount();
    void notificationIsSentInsideTheCommittedTransaction();
    void onlyRowChangesAreTold_data();
    void onlyRowChangesAreTold();
    void serverNoticeIsReadByTheNextLook();
    void serverWatchListensAgainAfterReconnection();
};

namespace {

void addJournalRow(Connection& db)
{
    Connection::Transaction t(db);
    db.exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, Operation) VALUES ('U1', 'T1', 'Выдан')"));
    t.commit();
}

// An engine that announces commits, as a server engine does; on the SQLite
// driver its sending statement writes a row the test can look for.
class AnnouncingDialect : public SqliteDialect
{
public:
    QString changeCounter() const override { return {}; }
    QString changeChannel() const override { return QStringLiteral("tooldesk_journal"); }
    QString changeNotification() const override
    {
        return QStringLiteral("INSERT INTO State (AName) VALUES ('announced')");
    }
};

// Looks as the desk's idle look does, without turning the event loop, until
// another desk's notice is read; the tries wait only for the server to pass
// it on.
bool lookUntilChanged(ChangeWatch& watch)
{
    for (int tries = 0; tries < 500; ++tries) {
        if (watch.changedElsewhere())
            return true;
        QThread::msleep(10);
    }
    return false;
}

// Two connections to one new database of the test server, as two desks.
struct ServerDesks {
    ServerDesks()
    {
        here.open(pg.description());
        createOriginalTables(here);
        there.open(pg.description());
    }
    PgTestDatabase pg; // dropped after the connections close
    Connection here;
    Connection there;
};

} // namespace

void TestChangeWatch::counterSeesOnlyOtherConnectionsCommits()
{
    TestData data;
    Connection here;
    here.open(data.dbPath());
    Connection there;
    there.open(data.dbPath());
    ChangeWatch watch(here);
    watch.start();
    QVERIFY(watch.isWatching());
    QVERIFY(!watch.changedElsewhere());

    addJournalRow(here);
    QVERIFY2(!watch.changedElsewhere(), "own commit");

    addJournalRow(there);
    addJournalRow(there);
    QVERIFY(watch.changedElsewhere());
    QVERIFY2(!watch.changedElsewhere(), "told once");

    // Another desk reading or rolling back changes nothing.
    there.scalar(QStringLiteral("SELECT COUNT(*) FROM History"));
    {
        Connection::Transaction t(there);
        there.exec(QStringLiteral("INSERT INTO History (ID_U) VALUES ('U2')"));
    }
    QVERIFY(!watch.changedElsewhere());
}

// The desk opens its file again after a lost log and starts watching anew:
// the reopening is still told, once, and the first start is no reopening.
void TestChangeWatch::reconnectionToldOnceEvenAfterARestart()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    ChangeWatch watch(db);
    QVERIFY2(!watch.reconnected(), "not started");
    watch.start();
    QVERIFY(!watch.reconnected());
    db.reopen();
    watch.start();
    QVERIFY(watch.reconnected());
    QVERIFY2(!watch.reconnected(), "told once");
}

void TestChangeWatch::notificationsFromOtherDesksCount_data()
{
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QSqlDriver::NotificationSource>("source");
    QTest::addColumn<bool>("counts");
    QTest::newRow("other desk") << "tooldesk_journal" << QSqlDriver::OtherSource << true;
    QTest::newRow("sender unknown") << "tooldesk_journal" << QSqlDriver::UnknownSource << true;
    QTest::newRow("own commit") << "tooldesk_journal" << QSqlDriver::SelfSource << false;
    QTest::newRow("another channel") << "something_else" << QSqlDriver::OtherSource << false;
}

void TestChangeWatch::notificationsFromOtherDesksCount()
{
    QFETCH(QString, channel);
    QFETCH(QSqlDriver::NotificationSource, source);
    QFETCH(bool, counts);
    TestData data;
    Connection db(std::make_unique<AnnouncingDialect>());
    db.open(data.dbPath());
    ChangeWatch watch(db);
    watch.start();
    QVERIFY(watch.isWatching());
    QVERIFY(db.database().driver()->subscribedToNotifications().contains(QStringLiteral("tooldesk_journal")));
    QSignalSpy noticed(&watch, &ChangeWatch::noticed);

    // The driver delivers a notification in the event loop as this signal.
    emit db.database().driver()->notification(channel, source, QVariant());
    QCOMPARE(noticed.count(), counts ? 1 : 0);
    QCOMPARE(watch.changedElsewhere(), counts);
    QVERIFY2(!watch.changedElsewhere(), "told once");
}

void TestChangeWatch::notificationIsSentInsideTheCommittedTransaction()
{
    TestData data;
    Connection db(std::make_unique<AnnouncingDialect>());
    db.open(data.dbPath());
    const auto announced = [&db] {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM State WHERE AName='announced'")).toInt();
    };
    {
        Connection::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO History (ID_U) VALUES ('U1')"));
    }
    QCOMPARE(announced(), 0); // rolled back: nothing to tell
    addJournalRow(db);
    QCOMPARE(announced(), 1);
}

void TestChangeWatch::onlyRowChangesAreTold_data()
{
    // What a statement does is said by the call, not read from its text.
    QTest::addColumn<std::function<void(Connection&)>>("statement");
    QTest::addColumn<int>("told");
    using Run = std::function<void(Connection&)>;
    QTest::newRow("read") << Run([](Connection& db) { db.run(QStringLiteral("SELECT COUNT(*) FROM Tools")); }) << 0;
    QTest::newRow("scalar") << Run([](Connection& db) { db.scalar(Select(col::Tools::Table)); }) << 0;
    QTest::newRow("count") << Run([](Connection& db) { db.count(Select(col::Tools::Table)); }) << 0;
    QTest::newRow("command") << Run([](Connection& db) { db.command(QStringLiteral("PRAGMA user_version = 7")); }) << 0;
    QTest::newRow("insert") << Run([](Connection& db) {
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T9')"));
    }) << 1;
    QTest::newRow("described update") << Run([](Connection& db) {
        db.exec(Update(col::Tools::Table).set(col::Tools::Naim, QStringLiteral("x")));
    }) << 1;
    QTest::newRow("write read back") << Run([](Connection& db) {
        db.write(QStringLiteral("DELETE FROM Tools WHERE ID_Tool = ?"), {QStringLiteral("none")});
    }) << 1;
}

void TestChangeWatch::onlyRowChangesAreTold()
{
    QFETCH(std::function<void(Connection&)>, statement);
    QFETCH(int, told);
    TestData data;
    Connection db(std::make_unique<AnnouncingDialect>());
    db.open(data.dbPath());
    statement(db);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM State WHERE AName='announced'")).toInt(), told);
}

void TestChangeWatch::serverNoticeIsReadByTheNextLook()
{
    ServerDesks desks;
    ChangeWatch watch(desks.here);
    watch.start();
    QVERIFY(!watch.changedElsewhere());
    addJournalRow(desks.there);
    // The notice came with the look's own statement: the driver reads it at
    // once, not at a later turn of the event loop that may never come.
    QVERIFY(lookUntilChanged(watch));
    QVERIFY2(!watch.changedElsewhere(), "told once");
}

void TestChangeWatch::serverWatchListensAgainAfterReconnection()
{
    ServerDesks desks;
    ChangeWatch watch(desks.here);
    watch.start();
    const int pid = desks.here.scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
    desks.pg.adminExec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
    addJournalRow(desks.there); // committed while this desk had no connection

    QVERIFY2(watch.changedElsewhere(), "after a reconnection the desk looks again at everything once");
    QVERIFY(desks.here.scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt() != pid);
    QVERIFY(!desks.here.isLost());
    QVERIFY(!watch.changedElsewhere());
    addJournalRow(desks.there);
    QVERIFY2(lookUntilChanged(watch), "the new connection hears the other desk's notices");
    addJournalRow(desks.here);
    QVERIFY2(!watch.changedElsewhere(), "own commit");
}

QTEST_MAIN(TestChangeWatch)
#include "tst_changewatch.moc"
