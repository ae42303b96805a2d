// Import from the command line: the real program, without a display, on a
// program folder of its own; what it wrote is read back with the sqlite3
// shell, and what it refuses leaves the database file as it was, byte for byte.
#include "data/Connection.h"
#include "support/ProgramRun.h"
#include "support/TestData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

using Outcome = ProgramOutcome;

class ProgramFolder
{
public:
    ProgramFolder()
    {
        QFile::copy(QStringLiteral(TOOLDESK_BINARY), data.folder() + QStringLiteral("tooldesk"));
        Connection db;
        db.open(data.dbPath());
        db.exec("INSERT INTO Users (ID_User, FIO) VALUES ('U001', 'Иванов И.И.')");
        db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Passed) VALUES ('T001', 'T001', 'Дрель', 1)");
    }

    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = data.folder() + name;
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

    Outcome run(const QStringList& arguments) const
    {
        return runWithoutDisplay(data.folder() + QStringLiteral("tooldesk"),
                                 QStringList{QStringLiteral("--import")} + arguments);
    }

    // The database file's bytes and the Data folder's names.
    QByteArray state() const
    {
        QFile f(data.dbPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
            + QDir(data.data()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).join(u',').toUtf8();
    }

    QString sqlite(const QString& sql) const
    {
        QProcess p;
        p.start(QStringLiteral("sqlite3"), {data.dbPath(), sql});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    TestData data;
};

const QByteArray kStock = "Код;Наименование;Место;Лишнее\nT001;Дрель ударная;Склад 1;x\nA1;Пила;Склад 1;\n";

} // namespace

class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrongArgumentsAreRefused_data();
    void wrongArgumentsAreRefused();
    void dryRunPrintsVerdictsAndWritesNothing();
    void aRefusedRowLeavesTheDatabaseByteForByte();
    void importWritesEveryRow();
};

void TestImportCommand::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        QFAIL("the sqlite3 shell is missing: install sqlite3");
}

void TestImportCommand::wrongArgumentsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says");
    QTest::newRow("nothing") << QStringList{} << "give the register and the file";
    QTest::newRow("unknown register") << QStringList{"shelves", "stock.csv"} << "unknown register: shelves";
    QTest::newRow("no file") << QStringList{"tools", "--update"} << "give the file to import";
    QTest::newRow("two files") << QStringList{"tools", "a.csv", "b.csv"} << "one file only: b.csv";
    QTest::newRow("unknown option") << QStringList{"tools", "a.csv", "--force"}
                                    << "unknown or repeated option: --force";
    QTest::newRow("photos without a folder") << QStringList{"tools", "a.csv", "--photos"} << "--photos needs a folder";
    QTest::newRow("photos from no folder")
        << QStringList{"tools", "a.csv", "--photos", "/nonexistent/x"} << "no such folder: /nonexistent/x";
}

void TestImportCommand::wrongArgumentsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    ProgramFolder folder;
    const Outcome o = folder.run(arguments);
    QCOMPARE(o.status, 2);
    QVERIFY2(o.err.contains(says) && o.err.contains(QStringLiteral("usage: tooldesk --import")), qPrintable(o.err));
}

void TestImportCommand::dryRunPrintsVerdictsAndWritesNothing()
{
    ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("stock.csv"), kStock);
    const QByteArray before = folder.state();
    const Outcome o = folder.run(
        {QStringLiteral("tools"), file, QStringLiteral("--dry-run"), QStringLiteral("--update")});
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines,
             (QStringList{"Лишнее\t(не импортируется)", "2\tT001\tобновление", "3\tA1\tновая",
                          "Будут добавлены в справочники: Склад 1, Дрель ударная, Пила"}));
    QCOMPARE(folder.state(), before);
}

void TestImportCommand::aRefusedRowLeavesTheDatabaseByteForByte()
{
    ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("stock.csv"), kStock + "U001;Молоток;;\n");
    const QByteArray before = folder.state();
    for (const QStringList& extra : {QStringList{}, QStringList{QStringLiteral("--dry-run")}}) {
        const Outcome o = folder.run(QStringList{QStringLiteral("tools"), file} + extra);
        QCOMPARE(o.status, 1);
        // The dry run lists every row; the import only the refused ones, as errors.
        const QString rows = extra.isEmpty() ? o.err : o.out;
        QVERIFY2(rows.contains(QStringLiteral("4\tU001\tотказ: код U001 уже у получателя")), qPrintable(rows));
        QVERIFY2(o.err.contains(QStringLiteral("Импорт НЕ записан, ничего не изменено: отклонено строк: 1")),
                 qPrintable(o.err));
        QCOMPARE(folder.state(), before);
    }
}

void TestImportCommand::importWritesEveryRow()
{
    ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("stock.csv"), kStock);
    Outcome o = folder.run({QStringLiteral("tools"), file});
    QCOMPARE(o.status, 0);
    QVERIFY2(o.out.contains(QStringLiteral("Импорт записан: новых 1, обновлено 0, пропущено 1")), qPrintable(o.out));
    o = folder.run({QStringLiteral("tools"), file, QStringLiteral("--update")});
    QCOMPARE(o.status, 0);
    QVERIFY2(o.out.contains(QStringLiteral("новых 0, обновлено 2, пропущено 0")), qPrintable(o.out));
    QCOMPARE(
        folder.sqlite(QStringLiteral("SELECT ID_Tool, ID_Tool_Unique, Naim, Mesto, Passed FROM Tools ORDER BY ID")),
        QStringLiteral("T001|T001|Дрель ударная|Склад 1|1\nA1|A1|Пила|Склад 1|1"));
    QCOMPARE(folder.sqlite(QStringLiteral("SELECT AField FROM MESTO")), QStringLiteral("Склад 1"));
    QCOMPARE(folder.sqlite(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_import_command.moc"
