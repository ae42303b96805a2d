// The cheap look a desk takes every second: has another desk committed?
#include "DbFixture.h"
#include "data/ChangeWatch.h"
#include "data/SqliteDialect.h"

#include <QSqlDriver>
#include <QtTest>

Q_DECLARE_METATYPE(QSqlDriver::NotificationSource)

class TestChangeWatch : public QObject
{
    Q_OBJECT
private slots:
    void counterSeesOnlyOtherConnectionsCommits();
    void notificationsFromOtherDesksCount_data();
    void notificationsFromOtherDesksCount();
    void notificationIsSentInsideTheCommittedTransaction();
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

QTEST_MAIN(TestChangeWatch)
#include "tst_changewatch.moc"
