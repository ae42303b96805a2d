// Reports from the command line: the real program run without a display on
// a program folder of its own, writing the pages the windows write, and
// refusing bad arguments, unknown codes and unwritable files.
#include "../reports/ConsumerTools.h"
#include "data/Connection.h"
#include "support/ProgramRun.h"
#include "support/TestData.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using Outcome = ProgramOutcome;

// The program copied beside the test's Data folder, as it is installed.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        QFile::copy(QStringLiteral(TOOLDESK_BINARY), program());
        Connection db;
        db.open(data.dbPath());
        db.exec("INSERT INTO Users (ID_User, FIO, Organization) VALUES ('U1', 'Иванов [И.И.]', 'Цех 1'), "
                "('U2', 'Петров', 'Цех 2')");
        db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, SNumber, Inv, "
                "Tool_State, Passed, OwnerID, Price) VALUES "
                "('T1', 'T1', 'Дрель', 'Bosch', 'GSB 13', 'SN1', 'INV1', 'новый', 0, '1', 1500), "
                "('T2', 'T2', 'Ключ', 'Makita', 'K2', 'SN2', 'INV2', 'б/у', 1, '0', 200)");
        db.exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, FIO, IType, Model, Organization, Note) "
                "VALUES ('U1', 'T1', '2026-12-01', '10:11:12', 'Выдан', 'Иванов [И.И.]', 'Дрель', 'Bosch GSB 13', "
                "'Цех 1', 'первая'), "
                "('U2', 'T2', '2026-12-03', '11:00:00', 'Выдан', 'Петров', 'Ключ', 'Makita K2', 'Цех 2', ''), "
                "('U2', 'T2', '2026-12-09', '12:00:00', 'Сдан', 'Петров', 'Ключ', 'Makita K2', 'Цех 2', '')");
    }

    QString program() const { return data.folder() + QStringLiteral("tooldesk"); }
    QString file(const QString& name) const { return out.filePath(name); }

    // Without a display: no X server, no platform chosen for it. A file size
    // limit makes every write beyond it fail as on a full disk.
    Outcome run(const QStringList& arguments, rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        const auto limitFileSize = [fileSizeLimit](QProcess& p) {
            if (fileSizeLimit == RLIM_INFINITY)
                return;
            p.setChildProcessModifier([fileSizeLimit] {
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = fileSizeLimit;
                setrlimit(RLIMIT_FSIZE, &limit);
                std::signal(SIGXFSZ, SIG_IGN); // a failed write instead of the end of the program
            });
        };
        return runWithoutDisplay(program(), QStringList{QStringLiteral("--report")} + arguments, limitFileSize);
    }

    void setLanguage(const char* code) const
    {
        data.writeIni(data.readIni().replace(QStringLiteral("Lenguage=RU"), QLatin1String("Lenguage=") + code));
    }

    TestData data;
    QTemporaryDir out;
};

} // namespace

class TestReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void refusesBadArguments_data();
    void refusesBadArguments();
    void historyAsPdf();
    void inventoryAsRtfInTheStoredLanguage();
    void statementOfToolsOnHandAsPdf();
    void unwrittenReportLeavesTheEarlierFile_data();
    void unwrittenReportLeavesTheEarlierFile();
    void toolsOutAsPdfOverdueFirst();
    void overdueToolsAsCsv();
};

void TestReportCommand::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString pdf = QStringLiteral("--pdf");
    QTest::newRow("no report") << QStringList{} << 2 << "no report named";
    QTest::newRow("unknown report") << QStringList{"stock", pdf, "x.pdf"} << 2 << "unknown report: stock";
    QTest::newRow("no file") << QStringList{"inventory"} << 2 << "give one of --pdf FILE or --rtf FILE";
    QTest::newRow("two files") << QStringList{"inventory", pdf, "a.pdf", "--rtf", "a.rtf"} << 2
                               << "give one of --pdf FILE or --rtf FILE";
    QTest::newRow("missing value") << QStringList{"inventory", pdf} << 2 << "--pdf needs a value";
    QTest::newRow("missing day") << QStringList{"history", "--from", "2026-12-01", pdf, "a.pdf"} << 2
                                 << "the history report needs --to";
    QTest::newRow("bad day") << QStringList{"history", "--from", "2026-02-30", "--to", "2026-12-01", pdf, "a.pdf"} << 2
                             << "--from needs a date as YYYY-MM-DD";
    QTest::newRow("foreign option") << QStringList{"inventory", "--recipient", "U1", pdf, "a.pdf"} << 2
                                    << "--recipient does not belong to the inventory report";
    QTest::newRow("unknown option") << QStringList{"inventory", "--landscape", "1"} << 2
                                    << "unknown option: --landscape";
    QTest::newRow("csv of another report")
        << QStringList{"inventory", "--csv", "a.pdf"} << 2 << "--csv belongs to the out report only";
    QTest::newRow("out without file") << QStringList{"out", "--overdue"} << 2
                                      << "give one of --pdf FILE, --rtf FILE or --csv FILE";
    QTest::newRow("overdue elsewhere") << QStringList{"inventory", "--overdue", pdf, "a.pdf"} << 2
                                       << "--overdue does not belong to the inventory report";
    QTest::newRow("unknown code") << QStringList{"on-hand", "--recipient", "U9", pdf, "a.pdf"} << 1
                                  << "Нет получателя с кодом U9: ничего не записано.";
    QTest::newRow("unwritable file") << QStringList{"inventory", pdf, "/nonexistent/dir/a.pdf"} << 1
                                     << "Отчет НЕ записан: /nonexistent/dir/a.pdf\n"
                                        "Папка не найдена: /nonexistent/dir. Создайте ее или выберите другую папку.";
}

void TestReportCommand::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    ProgramFolder folder;
    const Outcome outcome = folder.run(arguments);
    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("a.pdf"))));
}

void TestReportCommand::historyAsPdf()
{
    ProgramFolder folder;
    const QString pdf = folder.file(QStringLiteral("history.pdf"));
    const Outcome outcome = folder.run({"history", "--from", "2026-12-01", "--to", "2026-12-03", "--pdf", pdf});
    QCOMPARE(outcome.status, 0);
    const QString text = consumers::pdfText(pdf);
    QCOMPARE(consumers::missingInOrder(text,
                                       {"История выдачи инструмента",
                                        "№",
                                        "Дата",
                                        "Статус",
                                        "Получатель",
                                        "Тип инструмента",
                                        "Модель",
                                        "Организация",
                                        "Комментарий",
                                        "1",
                                        "01.12.2026",
                                        "Выдан",
                                        "Иванов [И.И.]",
                                        "Дрель",
                                        "Bosch GSB 13",
                                        "Цех 1",
                                        "первая",
                                        "2",
                                        "03.12.2026",
                                        "Выдан",
                                        "Петров",
                                        "Ключ"}),
             QString());
    QVERIFY(!text.contains(QStringLiteral("Сдан"))); // 9 December is outside
}

void TestReportCommand::inventoryAsRtfInTheStoredLanguage()
{
    ProgramFolder folder;
    folder.setLanguage("EN");
    const QString rtf = folder.file(QStringLiteral("inventory.rtf"));
    QCOMPARE(folder.run({"inventory", "--rtf", rtf}).status, 0);
    consumers::convert({rtf}, QStringLiteral("txt:Text (encoded):UTF8"), folder.out.path());
    const QString text = consumers::readUtf8(folder.file(QStringLiteral("inventory.txt")));
    QCOMPARE(consumers::missingInOrder(text, {"Tool inventory", "Stock tool:", "Tool",      "Brand",        "Model",
                                              "Inventory",      "Serial #",    "Condition", "Note",         "Ключ",
                                              "Makita",         "K2",          "INV2",      "SN2",          "б/у",
                                              "Hand tool:",     "Name",        "Дрель",     "Bosch",        "GSB 13",
                                              "INV1",           "SN1",         "новый",     "Иванов [И.И.]"}),
             QString());
}

void TestReportCommand::statementOfToolsOnHandAsPdf()
{
    ProgramFolder folder;
    const QString pdf = folder.file(QStringLiteral("onhand.pdf"));
    QCOMPARE(folder.run({"on-hand", "--recipient", "u1", "--pdf", pdf}).status, 0); // any letter case
    // Every amount of the statement is written the Russian way, the price
    // cells as the total, whatever the machine's own locale.
    const QString text = consumers::pdfText(pdf);
    QVERIFY2(!text.contains(QStringLiteral("1,500.00")), qPrintable(text));
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("1\\s500,00"))), 2);
    QCOMPARE(consumers::missingInOrder(consumers::pdfText(pdf),
                                       {"Ведомость полученного",
                                        "Сотрудник:",
                                        "Иванов [И.И.]",
                                        "Карта получателя №:",
                                        "U1",
                                        "Организация:",
                                        "Цех 1",
                                        "Общее количество:",
                                        "1",
                                        "шт.",
                                        "Общая стоимость:",
                                        "Список инструмента",
                                        "№ п/п",
                                        "Тип",
                                        "Производитель",
                                        "Модель",
                                        "Инвентарный",
                                        "Стоимость",
                                        "Получен",
                                        "1",
                                        "Дрель",
                                        "Bosch",
                                        "GSB 13",
                                        "INV1",
                                        "01.12.2026",
                                        "Кладовщик"}),
             QString());
}

void TestReportCommand::unwrittenReportLeavesTheEarlierFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // OUT: the report's file
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause");
    const QStringList history{"history", "--from", "2026-12-01", "--to", "2026-12-31"};
    const QString full = QStringLiteral(
        "Диск заполнен. Освободите место на диске или выберите другой диск и повторите.");
    const QString pipe = QStringLiteral("Это не обычный файл (устройство, канал или папка): OUT.");
    QTest::newRow("history as PDF, full disk") << history + QStringList{"--pdf", "OUT"} << "full" << full;
    QTest::newRow("history as RTF, full disk") << history + QStringList{"--rtf", "OUT"} << "full" << full;
    QTest::newRow("on-hand as RTF, full disk")
        << QStringList{"on-hand", "--recipient", "U1", "--rtf", "OUT"} << "full" << full;
    QTest::newRow("inventory as PDF, a FIFO") << QStringList{"inventory", "--pdf", "OUT"} << "fifo" << pipe;
    QTest::newRow("history as RTF, a folder") << history + QStringList{"--rtf", "OUT"} << "folder" << pipe;
}

void TestReportCommand::unwrittenReportLeavesTheEarlierFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    ProgramFolder folder;
    {
        // Reports far larger than the limit below; the issue dates are set,
        // so the statement writes nothing into the database.
        Connection db;
        db.open(folder.data.dbPath());
        db.exec("UPDATE Tools SET Issued_date='2026-12-01'");
        Connection::Transaction t(db);
        for (int i = 0; i < 600; ++i) {
            db.exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, FIO, IType, Model, Organization) "
                    "VALUES ('U2', 'T2', '2026-12-05', '10:00:00', 'Выдан', 'Петров', 'Ключ', 'Makita K2', 'Цех 2')");
            db.exec("INSERT INTO Tools (ID_Tool, Tool_Type, Model, Passed, OwnerID, Issued_date) "
                    "VALUES (?, 'Пила', 'P1', 0, '1', '2026-12-01')",
                    {QStringLiteral("P%1").arg(i)});
        }
        t.commit();
        QVERIFY(db.checkpoint());
    }
    const QString file = folder.file(QStringLiteral("report"));
    arguments.replaceInStrings(QStringLiteral("OUT"), file);
    cause.replace(QStringLiteral("OUT"), file);
    if (fault == u"full") {
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("yesterday's report");
    } else if (fault == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    } else {
        QVERIFY(QDir(folder.out.path()).mkdir(QStringLiteral("report")));
    }
    const QStringList before = QDir(folder.out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    // Above what the database's own files need (its shared memory is 32 KB).
    const Outcome outcome = folder.run(arguments, fault == u"full" ? 48 * 1024 : RLIM_INFINITY);
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains(QStringLiteral("Отчет НЕ записан: ") + file + u'\n' + cause),
             qPrintable(outcome.err));
    QCOMPARE(QDir(folder.out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    struct stat st {
    };
    QVERIFY(::lstat(QFile::encodeName(file).constData(), &st) == 0);
    if (fault == u"full") {
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("yesterday's report"));
    }
    QCOMPARE(S_ISFIFO(st.st_mode), fault == u"fifo");
    QCOMPARE(S_ISDIR(st.st_mode), fault == u"folder");
}

namespace {

// T1 (out since 1 December in the fixture) due three days ago, T3 out to
// the same worker without a due date, as an older version issued it. The
// program reads today from the machine's clock.
void addToolsOut(const ProgramFolder& folder)
{
    Connection db;
    db.open(folder.data.dbPath());
    const QDate today = QDate::currentDate();
    db.exec("UPDATE History SET Due_date = ? WHERE ID_T = 'T1'", {today.addDays(-3)});
    db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Tool_Type, Passed, OwnerID) VALUES "
            "('T3', 'T3', 'Уровень', 'Уровень', 0, '2')");
    db.exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation) VALUES ('U2', 'T3', ?, '08:30:00', 'Выдан')",
            {today.addDays(-20)});
}

} // namespace

void TestReportCommand::toolsOutAsPdfOverdueFirst()
{
    ProgramFolder folder;
    addToolsOut(folder);
    const QString pdf = folder.file(QStringLiteral("out.pdf"));
    const Outcome outcome = folder.run({"out", "--pdf", pdf});
    QVERIFY2(outcome.status == 0, qPrintable(outcome.err));
    const QDate today = QDate::currentDate();
    const QString text = consumers::pdfText(pdf);
    QCOMPARE(consumers::missingInOrder(text,
                                       {"Выданный инструмент",
                                        "выдано: 2, просрочено: 1",
                                        "Код",
                                        "Наименование",
                                        "Кому выдан",
                                        "Отдел",
                                        "Выдан",
                                        "Дней",
                                        "Срок возврата",
                                        "1",
                                        "T1",
                                        "Дрель",
                                        "Иванов [И.И.]",
                                        "01.12.2026",
                                        "10:11",
                                        today.addDays(-3).toString("dd.MM.yyyy"),
                                        "3",
                                        "2",
                                        "T3",
                                        "Уровень",
                                        "Петров",
                                        today.addDays(-20).toString("dd.MM.yyyy"),
                                        "08:30",
                                        "20"}),
             QString());
    QVERIFY(!text.contains(QStringLiteral("T2"))); // in the store
}

void TestReportCommand::overdueToolsAsCsv()
{
    ProgramFolder folder;
    addToolsOut(folder);
    folder.setLanguage("EN");
    const QString csv = folder.file(QStringLiteral("overdue.csv"));
    const Outcome outcome = folder.run({"out", "--overdue", "--csv", csv});
    QVERIFY2(outcome.status == 0, qPrintable(outcome.err));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    const QDate today = QDate::currentDate();
    QCOMPARE(
        lines,
        (QStringList{"Code;Name;Type;Holder;Department;Issued at;Days out;Due date",
                     "T1;;Дрель;Иванов [И.И.];;01.12.2026 10:11;" + QString::number(QDate(2026, 12, 1).daysTo(today))
                         + ";" + today.addDays(-3).toString("dd.MM.yyyy"),
                     ""}));
}

QTEST_MAIN(TestReportCommand)
#include "tst_report_command.moc"
