// A backup at any moment: from the settings page and from the command line,
// without a window, holding every recorded event.
#include "app/CommandLine.h"
#include "data/DbFixture.h"
#include "support/DeskFixture.h"

#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

int journalRowsIn(const QString& file)
{
    const QString name = QStringLiteral("backup-check");
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM History"), db);
            rows = q.next() ? q.value(0).toInt() : -1;
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

struct Outcome {
    std::optional<int> status;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments, const QString& folder)
{
    Outcome o;
    QTextStream out(&o.out);
    QTextStream err(&o.err);
    o.status = runCommandLine(QStringList{QStringLiteral("tooldesk")} + arguments, folder, out, err);
    return o;
}

} // namespace

class TestBackupAction : public QObject
{
    Q_OBJECT
private slots:
    void settingsPageWritesACopy();
    void settingsPageCancelledOrFailed();
    void commandLineWritesACopy();
    void commandLineRefuses_data();
    void commandLineRefuses();
};

void TestBackupAction::settingsPageWritesACopy()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1")); // still in the log: the desk has not been idle
    QTemporaryDir target;
    const QString copy = target.filePath(QStringLiteral("copy.mdb"));
    f.fakes().dialogs.saveFileAnswers.push_back(copy);
    f.control<QPushButton>("TfmSettings", "btBackup")->click();
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")),
             QStringList{QStringLiteral("Резервная копия базы данных записана: ") + copy});
    QCOMPARE(journalRowsIn(copy), 1);
    // The suggested name sits beside the program and carries the date.
    QVERIFY2(
        f.fakes().dialogs.texts(QStringLiteral("save")).first().contains(QStringLiteral("DB_2026-12-10_09-30.mdb")),
        qPrintable(f.fakes().dialogs.texts(QStringLiteral("save")).first()));
}

void TestBackupAction::settingsPageCancelledOrFailed()
{
    DeskFixture f;
    f.control<QPushButton>("TfmSettings", "btBackup")->click(); // cancelled: nothing
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("message")).isEmpty());
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("error")).isEmpty());

    f.fakes().dialogs.saveFileAnswers.push_back(f.data().dbPath()); // the live file itself
    f.control<QPushButton>("TfmSettings", "btBackup")->click();
    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("Резервная копия НЕ записана: ")), qPrintable(errors.first()));
    QVERIFY2(errors.first().contains(QStringLiteral("Резервная копия не может заменить саму базу данных")),
             qPrintable(errors.first()));
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("message")).isEmpty());
}

void TestBackupAction::commandLineWritesACopy()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1")); // a desk still running beside the command
    QTemporaryDir target;
    const QString copy = target.filePath(QStringLiteral("nightly.mdb"));
    const Outcome o = run({QStringLiteral("--backup"), copy}, f.data().folder());
    QCOMPARE(o.status, std::optional<int>(0));
    QVERIFY(o.out.contains(copy));
    QCOMPARE(journalRowsIn(copy), 1);
}

void TestBackupAction::commandLineRefuses_data()
{
    QTest::addColumn<QStringList>("arguments"); // OUT: a file in a folder of the test's
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::newRow("no file") << QStringList{"--backup"} << "" << 2 << "usage: tooldesk --backup FILE";
    QTest::newRow("unknown option") << QStringList{"--restore", "x"} << "" << 2 << "unknown option: --restore";
    QTest::newRow("folder that does not exist")
        << QStringList{"--backup", "/nonexistent/folder/x.mdb"} << "" << 1
        << "Резервная копия НЕ записана: /nonexistent/folder/x.mdb\nПапка не найдена: /nonexistent/folder.";
    QTest::newRow("in English") << QStringList{"--backup", "/nonexistent/folder/x.mdb"} << "english" << 1
                                << "The backup was NOT written: /nonexistent/folder/x.mdb\n"
                                   "The folder does not exist: /nonexistent/folder.";
    QTest::newRow("a FIFO") << QStringList{"--backup", "OUT"} << "fifo" << 1
                            << "Это не обычный файл (устройство, канал или папка)";
    QTest::newRow("a damaged database") << QStringList{"--backup", "OUT"} << "damaged" << 1
                                        << "Копия не прошла проверку целостности: база данных повреждена.";
}

void TestBackupAction::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, prepare);
    QFETCH(int, status);
    QFETCH(QString, says);
    TestData data;
    QTemporaryDir target;
    const QString file = target.filePath(QStringLiteral("nightly.mdb"));
    arguments.replaceInStrings(QStringLiteral("OUT"), file);
    if (prepare == u"english")
        data.writeIni(data.readIni().replace(QStringLiteral("Lenguage=RU"), QStringLiteral("Lenguage=EN")));
    if (prepare == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    if (prepare == u"damaged") {
        {
            Connection db;
            db.open(data.dbPath());
            dbfixture::addTools(db, 500);
            QVERIFY(db.checkpoint());
        }
        QVERIFY(dbfixture::damageMiddlePage(data.dbPath()));
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("last week's backup");
    }
    const Outcome o = run(arguments, data.folder());
    QCOMPARE(o.status, std::optional<int>(status));
    QVERIFY2(o.err.contains(says), qPrintable(o.err));
    QVERIFY(o.out.isEmpty());
    // Whatever was at the target is as it was, and nothing was left beside it.
    if (prepare == u"fifo") {
        struct stat st {
        };
        QVERIFY(::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }
    if (prepare == u"damaged")
        QCOMPARE(dbfixture::Untouched::read(file), QByteArray("last week's backup"));
    QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             prepare == u"fifo" || prepare == u"damaged" ? QStringList{QStringLiteral("nightly.mdb")} : QStringList());
}

QTEST_MAIN(TestBackupAction)
#include "tst_backupaction.moc"
