// The registers written to CSV and Excel: a file holds what its list shows
// (the search, the order, the shown columns and their titles), as LibreOffice
// reads it back; a write that fails or is cancelled leaves the earlier file.
#include "OfficeReadBack.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/FileWriteError.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "data/WorkProgress.h"
#include "export/CsvTableWriter.h"
#include "export/RegisterTables.h"
#include "export/TableExport.h"
#include "export/XlsxSheetCheck.h"
#include "export/XlsxTableWriter.h"
#include "recipients/TfmUsers.h"
#include "support/DeskFixture.h"
#include "tools/TfmTools.h"
#include "widgets/DbGrid.h"

#include <QBuffer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// The register as its list shows it now: the titles and the stored values
// of the shown columns, every row in the list's order.
struct Listed {
    QStringList titles;
    QStringList fields;
    QList<QVariantList> rows;
};

Listed listedBy(DbGrid* grid)
{
    const QueryModel* model = grid->queryModel();
    Query& q = model->query();
    while (q.canFetchMore())
        q.fetchMore();
    Listed listed;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid->isColumnHidden(c))
            continue;
        listed.titles << model->headerData(c, Qt::Horizontal).toString();
        listed.fields << model->columns().at(c).field;
    }
    for (int r = 0; r < q.fetchedCount(); ++r) {
        QVariantList values;
        for (const QString& field : std::as_const(listed.fields))
            values << q.value(r, q.fieldIndex(field));
        listed.rows << values;
    }
    return listed;
}

// Why a sheet read back differs from the list; empty when it does not.
// Amounts must come back as numbers and dates as dates (unquoted), texts
// as texts.
QString difference(const Listed& listed, const office::Sheet& sheet)
{
    if (sheet.size() != listed.rows.size() + 1)
        return QStringLiteral("%1 lines read back, %2 rows listed").arg(sheet.size()).arg(listed.rows.size());
    for (int c = 0; c < listed.titles.size(); ++c) {
        if (sheet.first().value(c).text != listed.titles.at(c))
            return QStringLiteral("heading %1: %2").arg(listed.titles.at(c), sheet.first().value(c).text);
    }
    for (int r = 0; r < listed.rows.size(); ++r) {
        for (int c = 0; c < listed.fields.size(); ++c) {
            const QVariant stored = listed.rows.at(r).at(c);
            const office::Cell cell = sheet.at(r + 1).value(c);
            const QString& field = listed.fields.at(c);
            bool same = false;
            if (stored.isNull() || stored.toString().isEmpty())
                same = cell.text.isEmpty();
            else if (field == u"Price")
                same = !cell.quoted && qFuzzyCompare(cell.text.toDouble(), stored.toDouble());
            else if (field == u"Date_Purchase" || field == u"Guarantee")
                same = !cell.quoted
                    && QDate::fromString(cell.text, QStringLiteral("MM/dd/yyyy"))
                        == QDate::fromString(stored.toString().left(10), Qt::ISODate);
            else // a line break in a cell is a line feed
                same = cell.quoted
                    && cell.text == QString(stored.toString()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (!same)
                return QStringLiteral("row %1, %2: stored '%3', read back '%4'%5")
                    .arg(r)
                    .arg(field, stored.toString(), cell.text, cell.quoted ? QStringLiteral(" (text)") : QString());
        }
    }
    return {};
}

struct ToolCase {
    const char* code;
    const char* type;
    const char* name;
    QVariant price;
    QVariant bought;
    QVariant warranty;
    bool inStore;
    bool writtenOff;
};

// Names with the separator, quotes and line breaks, empty values, kopecks,
// dates, tools out and in the store, one written off (never listed).
const ToolCase kTools[] = {
    {"T-1", "Дрель ударная", "Дрель «Зубр»", 1234.56, "2024-01-31", "2026-01-31", false, false},
    {"T-2", "Пила; \"Кедр\"", "две\nстроки", 0.05, {}, {}, true, false},
    {"T-3", "", "", {}, "2023-12-01", {}, true, false},
    {"T-4", "Списанный", "нет в списке", 10.0, {}, {}, true, true},
    {"T-5", "Ключ", "Ключ ;;; 17", 1000000.0, "1999-02-28", "2000-02-29", false, false},
    {"X-6", "Ключ", "Ключ \"\" 19\r\nвторой", 99.99, "2026-12-10", {}, true, false},
};

void addTools(DeskFixture& f)
{
    Connection& db = f.db();
    for (const ToolCase& t : kTools) {
        const qint64 key = f.addTool(QString::fromUtf8(t.code), QString::fromUtf8(t.type));
        db.exec(QStringLiteral("UPDATE Tools SET Naim = ?, Price = ?, Date_Purchase = ?, Guarantee = ?, Passed = %1, "
                               "WriteOff = %2 WHERE ID = ?")
                    .arg(t.inStore ? db.dialect().sqlTrue() : db.dialect().sqlFalse(),
                         t.writtenOff ? db.dialect().sqlTrue() : db.dialect().sqlFalse()),
                {QString::fromUtf8(t.name), t.price, t.bought, t.warranty, key});
    }
}

void addRecipients(DeskFixture& f)
{
    f.addRecipient(QStringLiteral("U-1"), QStringLiteral("Иванов; \"Ваня\""), QStringLiteral("Цех\n1"));
    f.addRecipient(QStringLiteral("U-2"), QString(), QString(), QString());
    f.addRecipient(QStringLiteral("U-3"), QStringLiteral("Petrov P."), QStringLiteral("ООО «Ромашка»"));
}

// Exports the list on the page through its button into file.
void exportPage(DeskFixture& f, const char* page, const QString& file)
{
    f.fakes().dialogs.saveFileAnswers.push_back(file);
    f.control<QPushButton>(page, "btExport")->click();
}

// A progress that cancels once rows are told.
class CancelAtFirstRows final : public WorkProgress
{
public:
    void setStage(const QString&) override { }
    bool advance(qint64 done, qint64) override { return done == 0; }
};

// Every write beyond limit bytes fails as on a full disk while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = m_saved;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

// The files beside the target: temporary ones (ours and the library's) are gone.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void writeFile(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void listsReadBackAsShown();
    void csvAsSpreadsheetsHereOpenIt_data();
    void csvAsSpreadsheetsHereOpenIt();
    void refusalsAreTold();
    void failedWriteKeepsEarlierFile_data();
    void failedWriteKeepsEarlierFile();
    void cancelKeepsEarlierFile_data();
    void cancelKeepsEarlierFile();
    void sheetCheckFindsMissingRows();
};

void TestExport::listsReadBackAsShown()
{
    DeskFixture f;
    addTools(f);
    addRecipients(f);
    Settings& settings = f.session().settings();
    settings.setToolColumnVisible(5, false); // Model hidden
    settings.setToolColumnVisible(9, true);  // Price shown
    QTemporaryDir out;
    QHash<QString, Listed> listed;
    auto exported = [&](const char* page, const QString& name) {
        const QString file = out.filePath(name);
        exportPage(f, page, file);
        listed.insert(file, listedBy(f.control<DbGrid>(page, "DBGrid1")));
        QVERIFY2(f.fakes().dialogs.texts("error").isEmpty(), qPrintable(f.fakes().dialogs.texts("error").join('\n')));
        QVERIFY(QFileInfo::exists(file));
    };

    f.app().showToolList();
    exported("TfmTools", QStringLiteral("tools.csv"));
    exported("TfmTools", QStringLiteral("tools.xlsx"));
    QCOMPARE(f.fakes().dialogs.texts("message").last(),
             f.session().texts().rsExportWritten.arg(out.filePath("tools.xlsx")).arg(5));

    // A code of digits only stays text in Excel (a CSV reader makes it a number).
    f.addTool(QStringLiteral("0012"), QStringLiteral("Ключ"));
    // Narrowed by the type, sorted by a title, in English.
    f.session().setLanguage(QStringLiteral("EN"));
    f.control<QLineEdit>("TfmTools", "Edit2")->setText(QStringLiteral("ключ"));
    f.control<QPushButton>("TfmTools", "btSearch")->click();
    TfmTools& tools = f.window<TfmTools>("TfmTools");
    tools.DBGrid1TitleClick(0);
    tools.DBGrid1TitleClick(0);
    exported("TfmTools", QStringLiteral("keys.xlsx"));
    QCOMPARE(listed.value(out.filePath("keys.xlsx")).rows.size(), 3);
    QCOMPARE(listed.value(out.filePath("keys.xlsx")).titles.first(), QStringLiteral("ID tool"));

    f.session().setLanguage(QStringLiteral("RU"));
    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
    exported("TfmUsers", QStringLiteral("users.csv"));
    exported("TfmUsers", QStringLiteral("users.xlsx"));

    QHash<QString, office::Sheet> sheets = office::readBack(
        {out.filePath("tools.xlsx"), out.filePath("keys.xlsx"), out.filePath("users.xlsx")}, false);
    sheets.insert(office::readBack({out.filePath("tools.csv"), out.filePath("users.csv")}, true));
    QCOMPARE(sheets.size(), listed.size());
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        const QString wrong = difference(it.value(), sheets.value(it.key()));
        QVERIFY2(wrong.isEmpty(), qPrintable(QFileInfo(it.key()).fileName() + QStringLiteral(": ") + wrong));
    }
}

void TestExport::csvAsSpreadsheetsHereOpenIt_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("field");
    const int text = int(ExportKind::Text);
    const int money = int(ExportKind::Money);
    const int date = int(ExportKind::Date);
    QTest::newRow("Cyrillic") << QVariant("Дрель «Зубр»") << text << QByteArray("Дрель «Зубр»");
    QTest::newRow("separator") << QVariant("a;b") << text << QByteArray("\"a;b\"");
    QTest::newRow("quotes") << QVariant("12\" \"x\"") << text << QByteArray("\"12\"\" \"\"x\"\"\"");
    QTest::newRow("line feed") << QVariant("a\nb") << text << QByteArray("\"a\nb\"");
    QTest::newRow("CR LF, a cell's line feed") << QVariant("a\r\nb\rc") << text << QByteArray("\"a\nb\nc\"");
    QTest::newRow("comma stays plain") << QVariant("a, b") << text << QByteArray("a, b");
    QTest::newRow("empty") << QVariant("") << text << QByteArray();
    QTest::newRow("null") << QVariant() << money << QByteArray();
    QTest::newRow("kopecks") << QVariant(1234.56) << money << QByteArray("1234,56");
    QTest::newRow("small") << QVariant(0.05) << money << QByteArray("0,05");
    QTest::newRow("whole, no groups") << QVariant(1000000.0) << money << QByteArray("1000000");
    QTest::newRow("negative") << QVariant(-10.5) << money << QByteArray("-10,5");
    QTest::newRow("amount stored as text") << QVariant("15.5") << money << QByteArray("15,5");
    QTest::newRow("no amount") << QVariant("договорная") << money << QByteArray("договорная");
    QTest::newRow("date") << QVariant("2024-01-31") << date << QByteArray("31.01.2024");
    QTest::newRow("date with a time") << QVariant("2024-01-31 10:00:00") << date << QByteArray("31.01.2024");
    QTest::newRow("no date") << QVariant("скоро") << date << QByteArray("скоро");
    QTest::newRow("yes") << QVariant(1) << int(ExportKind::Bool) << QByteArray("Да");
}

void TestExport::csvAsSpreadsheetsHereOpenIt()
{
    QFETCH(QVariant, value);
    QFETCH(int, kind);
    QFETCH(QByteArray, field);
    ExportTable table;
    table.columns = {{QStringLiteral("A"), QStringLiteral("Заголовок; 1"), ExportKind(kind)},
                     {QStringLiteral("B"), QStringLiteral("Ещё"), ExportKind::Text}};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CsvTableWriter csv(buffer, table);
    csv.writeHeadings();
    csv.writeRow({value, QStringLiteral("x")});
    QVERIFY(csv.flush());
    QCOMPARE(buffer.data(), QByteArray("\xEF\xBB\xBF\"Заголовок; 1\";Ещё\r\n") + field + QByteArray(";x\r\n"));
}

void TestExport::refusalsAreTold()
{
    DeskFixture f;
    addTools(f);
    f.app().showToolList();
    QTemporaryDir out;
    FakeDialogs& dialogs = f.fakes().dialogs;
    const Messages& texts = f.session().texts();

    f.control<QPushButton>("TfmTools", "btExport")->click(); // the chooser cancelled
    QCOMPARE(dialogs.texts("save").size(), 1);
    QCOMPARE(dialogs.saveFilters.last(), QStringLiteral("Excel (*.xlsx);;CSV (*.csv)"));
    QVERIFY(dialogs.texts("save").first().endsWith(QStringLiteral("Инструмент 10.12.2026.xlsx")));
    QVERIFY(dialogs.texts("message").isEmpty() && dialogs.texts("error").isEmpty());

    const QString text = out.filePath("tools.txt");
    exportPage(f, "TfmTools", text);
    QCOMPARE(dialogs.texts("error"), QStringList{texts.rsExportUnknownFormat.arg(text)});
    QVERIFY(!QFileInfo::exists(text));

    dialogs.clear();
    const QString missing = out.filePath("gone/tools.xlsx");
    exportPage(f, "TfmTools", missing);
    QCOMPARE(dialogs.texts("error").size(), 1);
    const QString told = dialogs.texts("error").first();
    QVERIFY2(told.startsWith(texts.rsExportNotWritten.arg(missing))
                 && told.contains(texts.rsFileFolderMissing.arg(out.filePath("gone"))),
             qPrintable(told));
}

void TestExport::failedWriteKeepsEarlierFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("CSV") << "tools.csv";
    QTest::newRow("Excel") << "tools.xlsx";
}

void TestExport::failedWriteKeepsEarlierFile()
{
    QFETCH(QString, name);
    DeskFixture f;
    {
        Connection::Transaction t(f.db());
        for (int i = 0; i < 3000; ++i)
            f.addTool(QStringLiteral("T%1").arg(i), QStringLiteral("Перфоратор с длинным описанием %1").arg(i));
        t.commit();
    }
    QTemporaryDir out;
    const QString file = out.filePath(name);
    writeFile(file, "earlier");
    const ExportTable table = wholeToolRegister(f.db(), f.session().settings(), true);
    SilentProgress progress;
    try {
        const FileSizeLimit full(32 * 1024);
        exportTable(f.db(), table, file, *exportFormatOf(file), progress, f.session().texts());
        QFAIL("written beyond the file size limit");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), FileWriteError::Cause::DiskFull);
    }
    QCOMPARE(contents(file), QByteArray("earlier"));
    QCOMPARE(filesIn(out.path()), QStringList{name});
}

void TestExport::cancelKeepsEarlierFile_data()
{
    failedWriteKeepsEarlierFile_data();
}

void TestExport::cancelKeepsEarlierFile()
{
    QFETCH(QString, name);
    DeskFixture f;
    {
        Connection::Transaction t(f.db());
        for (int i = 0; i < 600; ++i)
            f.addTool(QStringLiteral("T%1").arg(i));
        t.commit();
    }
    QTemporaryDir out;
    const QString file = out.filePath(name);
    writeFile(file, "earlier");
    CancelAtFirstRows progress;
    const ExportOutcome outcome = exportTable(f.db(), wholeToolRegister(f.db(), f.session().settings(), true), file,
                                              *exportFormatOf(file), progress, f.session().texts());
    QVERIFY(!outcome.written);
    QCOMPARE(contents(file), QByteArray("earlier"));
    QCOMPARE(filesIn(out.path()), QStringList{name});
}

void TestExport::sheetCheckFindsMissingRows()
{
    QTemporaryDir out;
    const QString file = out.filePath("rows.xlsx");
    ExportTable table;
    table.columns = {{QStringLiteral("A"), QStringLiteral("Код"), ExportKind::Text},
                     {QStringLiteral("B"), QStringLiteral("Цена"), ExportKind::Money}};
    qint64 written = 0;
    {
        XlsxTableWriter xlsx(file, out.path(), table);
        xlsx.writeHeadings();
        for (int i = 0; i < 5000; ++i)
            QVERIFY(xlsx.writeRow({QStringLiteral("T%1").arg(i), i + 0.5}));
        QVERIFY(xlsx.writeRow({QVariant(), QVariant()})); // an empty row is not in the file
        QCOMPARE(xlsx.close(), QString());
        written = xlsx.rowsWithCells();
    }
    QCOMPARE(written, 5001);
    QCOMPARE(xlsxSheetCheck(file, written), QString());
    QVERIFY(!xlsxSheetCheck(file, written + 1).isEmpty());

    QFile whole(file);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString cut = out.filePath("cut.xlsx");
    writeFile(cut, bytes.left(bytes.size() / 2));
    QVERIFY(!xlsxSheetCheck(cut, written).isEmpty());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
