// What goes wrong at the desk is told on the line under the entry box, never
// in a box that the scanner's next Enter would close: a code that could not
// be looked up, a database that does not answer while the desk idles, the
// log file deleted under the running desk. The desk keeps taking codes.
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "support/JournalRowsInFile.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDeskFailures : public QObject
{
    Q_OBJECT
private slots:
    void codeNotLookedUpIsToldAndTheNextIsTaken();
    void serverAwayWhileIdleStandsUntilItIsBack();
    void deletedLogFileIsWrittenBackAndReplaced();
    void deletedLogFileWaitsForAnotherReader();
};

namespace {

// Keeps the desk from reading Users for a while: another desk holds the
// table (the server) or has renamed it away (the file).
class UsersUnreadable
{
public:
    explicit UsersUnreadable(DeskFixture& f)
    {
        if (f.server()) {
            f.db().command(QStringLiteral("SET lock_timeout = 50"));
            m_other.open(f.db().description());
            m_hold = std::make_unique<Connection::Transaction>(m_other);
            m_other.command(QStringLiteral("LOCK TABLE Users IN ACCESS EXCLUSIVE MODE"));
        } else {
            m_other.open(f.data().dbPath());
            m_other.changeSchema(QStringLiteral("ALTER TABLE Users RENAME TO Users_away"));
        }
    }
    ~UsersUnreadable()
    {
        if (m_hold)
            m_hold.reset(); // rolled back: the lock goes
        else
            m_other.changeSchema(QStringLiteral("ALTER TABLE Users_away RENAME TO Users"));
    }

private:
    Connection m_other;
    std::unique_ptr<Connection::Transaction> m_hold;
};

// The deleted-log cases: recipient U1, tool T1 and the clear box on.
void prepareLogFileDesk(DeskFixture& f)
{
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
}

} // namespace

void TestDeskFailures::codeNotLookedUpIsToldAndTheNextIsTaken()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    auto* entry = f.control<QLineEdit>("TfmMain", "edInput");
    {
        UsersUnreadable away(f);
        f.scan(QStringLiteral("U1"));
        QVERIFY(f.fakes().dialogs.shown.isEmpty());
        QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Код U1 НЕ принят, ничего не записано: ")),
                 qPrintable(f.deskMessage()));
        QCOMPARE(f.fakes().sound.beeps, 1);
        QVERIFY(entry->text().isEmpty()); // nothing left for the next code to run into
    }
    // Scanned again while the message shows: taken as usual.
    f.scan(QStringLiteral("U1"));
    QVERIFY(f.deskMessage().isEmpty());
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 1);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QCOMPARE(f.fakes().sound.beeps, 1);
}

void TestDeskFailures::serverAwayWhileIdleStandsUntilItIsBack()
{
    DeskFixture f;
    if (!f.server())
        QSKIP("a database file is never away");
    TfmMain& m = f.main();
    const Messages& t = f.session().texts();
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.addTool(QStringLiteral("T2"));
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    f.scan(QStringLiteral("U1"));
    // A second passes between ticks: the desk tries the server at each.
    qint64 nowMs = 0;
    f.db().setClock([&nowMs] { return nowMs; });
    auto tick = [&] {
        nowMs += 1000;
        m.TimerTimer();
    };

    f.server()->setReachable(false);
    m.IdleSeconds = 1000; // the idle clear falls in this tick too
    tick();
    tick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY2(f.deskStandingMessage().startsWith(t.rsNoDatabaseConnection), qPrintable(f.deskStandingMessage()));
    QVERIFY(!f.deskStandingMessage().contains(QStringLiteral("Driver not loaded")));
    QCOMPARE(f.fakes().sound.beeps, 1); // once, not at every tick
    QVERIFY(!m.recipientSelected());

    // A scan meanwhile is told as not taken; the standing line stays.
    f.scan(QStringLiteral("T1"));
    QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Код T1 НЕ принят")), qPrintable(f.deskMessage()));
    QVERIFY(!f.deskMessage().contains(QStringLiteral("Driver not loaded")));
    QVERIFY(f.deskStandingMessage().startsWith(t.rsNoDatabaseConnection));
    QVERIFY(f.fakes().dialogs.shown.isEmpty());

    f.server()->setReachable(true);
    // Meanwhile another desk changed a tool, with no event: the tool list in
    // view shows it once this desk is back, as nobody told it.
    nowMs += 1000;
    m.show();
    f.app().showToolList(); // the list read on a new connection
    Query& tools = f.session().qTools;
    QVERIFY(tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T1")));
    {
        Connection other;
        other.open(f.db().description());
        other.exec(QStringLiteral("UPDATE Tools SET Model='GSB 18' WHERE ID_Tool='T2'"));
    }
    tick();
    QVERIFY2(f.deskStandingMessage().isEmpty(), qPrintable(f.deskStandingMessage()));
    const int row = tools.rowOf(QStringLiteral("ID_Tool"), QStringLiteral("T2"));
    QVERIFY(row >= 0);
    QCOMPARE(tools.value(row, tools.fieldIndex(QStringLiteral("Model"))).toString(), QStringLiteral("GSB 18"));
    m.Panel4Click();
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 1);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestDeskFailures::deletedLogFileIsWrittenBackAndReplaced()
{
    DeskFixture f;
    if (f.server())
        QSKIP("the server keeps its own files");
    TfmMain& m = f.main();
    prepareLogFileDesk(f);
    f.addTool(QStringLiteral("T2"));
    for (const char* code : {"U1", "T1", "U1", "T2"})
        f.scan(QLatin1String(code));
    const QString log = f.data().dbPath() + QStringLiteral("-wal");
    QVERIFY(QFile::exists(log));
    QVERIFY(QFile::remove(log)); // a hasty clean-up while the desk works

    m.TimerTimer();
    QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Файл журнала DB.mdb-wal был удалён")),
             qPrintable(f.deskMessage()));
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QTemporaryDir copies;
    const QString alone = copies.filePath(QStringLiteral("alone.mdb"));
    QVERIFY(QFile::copy(f.data().dbPath(), alone));
    QCOMPARE(journalRowsIn(alone), 2); // the events outlive the deleted log

    // New events go to a log that exists, and nothing is said again.
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 3);
    QVERIFY(QFile::exists(log));
    m.TimerTimer();
    QVERIFY(!f.deskMessage().startsWith(QStringLiteral("Файл журнала")));
}

void TestDeskFailures::deletedLogFileWaitsForAnotherReader()
{
    DeskFixture f;
    if (f.server())
        QSKIP("the server keeps its own files");
    TfmMain& m = f.main();
    prepareLogFileDesk(f);
    // Another program reads an older state of the database: the events after
    // it cannot be written back into the file until it is done.
    QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
    reader.setDatabaseName(f.data().dbPath());
    QVERIFY(reader.open());
    {
        QSqlQuery read(reader);
        QVERIFY(read.exec(QStringLiteral("BEGIN")));
        QVERIFY(read.exec(QStringLiteral("SELECT COUNT(*) FROM History")) && read.next());
        f.scan(QStringLiteral("U1"));
        f.scan(QStringLiteral("T1"));
        QVERIFY(QFile::remove(f.data().dbPath() + QStringLiteral("-wal")));

        m.TimerTimer();
        m.TimerTimer();
        QVERIFY2(f.deskStandingMessage().startsWith(QStringLiteral("Файл журнала DB.mdb-wal был удалён")),
                 qPrintable(f.deskStandingMessage()));
        QCOMPARE(f.fakes().sound.beeps, 1); // once, not at every tick
        QVERIFY(f.fakes().dialogs.shown.isEmpty());
        QVERIFY(read.exec(QStringLiteral("COMMIT")));
    }
    reader.close();
    reader = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("reader"));

    m.TimerTimer();
    QVERIFY2(f.deskStandingMessage().isEmpty(), qPrintable(f.deskStandingMessage()));
    QVERIFY(f.deskMessage().startsWith(QStringLiteral("Файл журнала DB.mdb-wal был удалён")));
    QTemporaryDir copies;
    const QString alone = copies.filePath(QStringLiteral("alone.mdb"));
    QVERIFY(QFile::copy(f.data().dbPath(), alone));
    QCOMPARE(journalRowsIn(alone), 1);
}

QTEST_MAIN(TestDeskFailures)
#include "tst_deskfailures.moc"
