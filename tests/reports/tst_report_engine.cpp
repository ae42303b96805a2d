#include "ReportDb.h"

#include "data/FieldText.h"
#include "reportengine/PreparedReport.h"
#include "reportengine/ReportError.h"
#include "reportengine/ReportPainter.h"
#include "reportengine/ReportUnits.h"
#include "reportengine/TableRowSource.h"
#include "reportengine/TemplateLoader.h"
#include "reportengine/TfrxMemoView.h"
#include "reportengine/TfrxReport.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <memory>

namespace {

constexpr double kMm = ReportUnits::kPerMm;

std::unique_ptr<TfrxReport> fromJson(const char* json)
{
    return TemplateLoader::fromJson(QByteArray(json), QStringLiteral("test"));
}

// A portrait report: a 20 mm title, 10 mm rows numbered with their line and
// a name, a 10 mm page footer with the page number.
const char* kNumbered = R"({
  "name": "numbered", "dataSets": ["ds"],
  "bands": [
    {"kind": "ReportTitle", "height": 20, "memos": [{"name": "Title", "left": 0, "top": 0, "width": 100, "text": "Numbered"}]},
    {"kind": "Header", "height": 8, "memos": [{"name": "Heading", "left": 0, "top": 0, "width": 100, "text": "Name"}]},
    {"kind": "MasterData", "dataSet": "ds", "height": 10, "memos": [
      {"name": "No", "left": 0, "top": 0, "width": 15, "text": "[Line]"},
      {"name": "Name", "left": 15, "top": 0, "width": 80, "text": "[ds.\u0022Name\u0022]"}]},
    {"kind": "Footer", "height": 10, "memos": [{"name": "Total", "left": 0, "top": 0, "width": 100, "text": "End after [Line]"}]},
    {"kind": "PageFooter", "height": 10, "memos": [{"name": "PageNo", "left": 150, "top": 0, "width": 40, "align": "right", "text": "Page [Page#]"}]}
  ]})";

std::shared_ptr<TableRowSource> names(int count)
{
    auto rows = std::make_shared<TableRowSource>(QStringList{QStringLiteral("Name")});
    for (int i = 1; i <= count; ++i)
        rows->addRow({QStringLiteral("Name %1").arg(i)});
    return rows;
}

QStringList textsOf(const PreparedBand& band)
{
    QStringList out;
    for (const PreparedItem& i : band.items)
        out << i.text;
    return out;
}

// One memo bound to, or printing, the single field of a one-row table.
struct OneValue {
    OneValue(const QVariant& value, FieldKind kind)
        : report(fromJson(R"({"name": "one", "dataSets": ["ds"], "bands": [
              {"kind": "MasterData", "dataSet": "ds", "height": 5, "memos": [
                {"name": "Cell", "left": 0, "top": 0, "width": 60, "text": "[ds.\u0022V\u0022]"}]}]})"))
    {
        auto rows = std::make_shared<TableRowSource>(QStringList{QStringLiteral("V")}, QList<FieldKind>{kind});
        rows->addRow({value});
        report->dataSet(QStringLiteral("ds"))->setSource(rows);
        report->setToday([] { return QDate(2026, 12, 10); });
    }
    TfrxMemoView& cell() { return *report->FindObject(QStringLiteral("Cell")); }
    QString printed()
    {
        report->PrepareReport();
        const auto& items = report->prepared()->pages.at(0).bands.at(0).items;
        return items.empty() ? QString() : items.front().text;
    }
    std::unique_ptr<TfrxReport> report;
};

} // namespace

class TstReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void longDataSetRunsOverPages();
    void headingsStayWithTheFirstRow();
    void emptyDataSetPrintsNeitherHeaderNorFooter();
    void fieldFormats_data();
    void fieldFormats();
    void textExpressions_data();
    void textExpressions();
    void runTimeTextPrintsLiterally();
    void stretchedBandGrowsToItsTallestMemo();
    void wrappedTextStaysInsideItsMemo();
    void missingDataIsReported();
    void preparingAgainAppendsWhenAsked();
    void badTemplatesAreRefused_data();
    void badTemplatesAreRefused();
    void resultSetLongerThanItsFirstPage();
};

void TstReportEngine::longDataSetRunsOverPages()
{
    auto report = fromJson(kNumbered);
    report->dataSet(QStringLiteral("ds"))->setSource(names(60));
    report->PrepareReport();
    const PreparedReport& built = *report->prepared();

    // 267 mm between the top margin and the page footer: title, heading and
    // 23 rows; then 26 rows; then the rest and the footer.
    QCOMPARE(built.pages.size(), size_t(3));
    const QList<int> rowsPerPage{23, 26, 11};
    int line = 0;
    for (int p = 0; p < 3; ++p) {
        const PreparedPage& page = built.pages[static_cast<size_t>(p)];
        int rows = 0;
        for (const PreparedBand& band : page.bands) {
            if (band.kind == TfrxBand::Kind::MasterData) {
                ++line;
                ++rows;
                QCOMPARE(textsOf(band), (QStringList{QString::number(line), QStringLiteral("Name %1").arg(line)}));
            }
            if (band.kind != TfrxBand::Kind::PageFooter)
                QVERIFY(band.rect.bottom() <= (297 - 10 - 10) * kMm + 0.01);
        }
        QCOMPARE(rows, rowsPerPage.at(p));
        // The page footer at the foot of every page, numbered.
        const PreparedBand& foot = page.bands.back();
        QCOMPARE(foot.kind, TfrxBand::Kind::PageFooter);
        QCOMPARE(foot.rect.top(), (297 - 10 - 10) * kMm);
        QCOMPARE(textsOf(foot), QStringList{QStringLiteral("Page %1").arg(p + 1)});
    }
    QCOMPARE(line, 60);
    const PreparedBand& last = built.pages[2].bands[built.pages[2].bands.size() - 2];
    QCOMPARE(last.kind, TfrxBand::Kind::Footer);
    QCOMPARE(textsOf(last), QStringList{QStringLiteral("End after 60")});
    // Only the first page has the title and the heading.
    QCOMPARE(built.texts().count(QStringLiteral("Numbered")), 1);
    QCOMPARE(built.texts().count(QStringLiteral("Name")), 1);
}

void TstReportEngine::headingsStayWithTheFirstRow()
{
    // A title that leaves room for the heading but not for a row after it.
    auto report = fromJson(kNumbered);
    report->page().bands().front()->setHeight((267 - 12) * kMm);
    report->dataSet(QStringLiteral("ds"))->setSource(names(1));
    report->PrepareReport();
    const auto& pages = report->prepared()->pages;
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(pages[1].bands[0].kind, TfrxBand::Kind::Header);
    QCOMPARE(pages[1].bands[0].rect.top(), 10 * kMm);
    QCOMPARE(pages[1].bands[1].kind, TfrxBand::Kind::MasterData);
}

void TstReportEngine::emptyDataSetPrintsNeitherHeaderNorFooter()
{
    auto report = fromJson(kNumbered);
    report->dataSet(QStringLiteral("ds"))->setSource(names(0));
    report->PrepareReport();
    QCOMPARE(report->prepared()->texts(), (QStringList{QStringLiteral("Numbered"), QStringLiteral("Page 1")}));
}

void TstReportEngine::fieldFormats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<QString>("pattern"); // a date-time display format, or none
    QTest::addColumn<bool>("hideZeros");
    QTest::addColumn<QString>("expected");

    QTest::newRow("stored date") << QVariant("2026-12-10") << FieldKind::Date << "" << false << "10.12.2026";
    QTest::newRow("date value") << QVariant(QDate(2026, 1, 2)) << FieldKind::Date << "" << false << "02.01.2026";
    QTest::newRow("date, own pattern") << QVariant("2026-12-10") << FieldKind::Date << "yyyy" << false << "2026";
    QTest::newRow("time") << QVariant("09:05:07") << FieldKind::Time << "" << false << "09:05:07";
    QTest::newRow("time from text, hh:mm") << QVariant("09:05:07") << FieldKind::Text << "hh:mm" << false << "09:05";
    QTest::newRow("text that is no time") << QVariant("soon") << FieldKind::Text << "hh:mm:ss" << false << "soon";
    QTest::newRow("money") << QVariant(1500.5) << FieldKind::Real << "" << false << fieldText(1500.5, FieldKind::Real);
    QTest::newRow("zero money shown") << QVariant(0.0) << FieldKind::Real << "" << false
                                      << fieldText(0.0, FieldKind::Real);
    QTest::newRow("zero money hidden") << QVariant(0.0) << FieldKind::Real << "" << true << "";
    QTest::newRow("zero integer hidden") << QVariant(0) << FieldKind::Integer << "" << true << "";
    QTest::newRow("zero text hidden") << QVariant("0,00") << FieldKind::Text << "" << true << "";
    QTest::newRow("non-zero kept") << QVariant(5) << FieldKind::Integer << "" << true << "5";
    QTest::newRow("a word is no zero") << QVariant("O") << FieldKind::Text << "" << true << "O";
    QTest::newRow("null") << QVariant() << FieldKind::Date << "" << false << "";
}

void TstReportEngine::fieldFormats()
{
    QFETCH(QVariant, value);
    QFETCH(FieldKind, kind);
    QFETCH(QString, pattern);
    QFETCH(bool, hideZeros);
    QFETCH(QString, expected);
    OneValue one(value, kind);
    one.cell().setHideZeros(hideZeros);
    if (!pattern.isEmpty())
        one.cell().setDisplayFormat({DisplayFormat::Kind::DateTime, pattern});
    QCOMPARE(one.printed(), expected);
    // The same through a field binding, whatever the memo's text says.
    one.cell().setText(QStringLiteral("ignored"));
    one.cell().setDataField(QStringLiteral("ds"), QStringLiteral("V"));
    QCOMPARE(one.printed(), expected);
}

void TstReportEngine::textExpressions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("field and line") << "[ds.\"V\"] is row [Line]"
                                    << "Иванов is row 1";
    QTest::newRow("field without quotes") << "[ds.V]"
                                          << "Иванов";
    QTest::newRow("letter case of names") << "[DS.\"v\"]"
                                          << "Иванов";
    QTest::newRow("page and date") << "[Page#] / [Date]"
                                   << "1 / 10.12.2026";
    QTest::newRow("unknown name") << "a[Nothing]b"
                                  << "ab";
    QTest::newRow("unclosed bracket") << "total [ds.\"V\""
                                      << "total [ds.\"V\"";
    QTest::newRow("only words") << "Отчет от"
                                << "Отчет от";
}

void TstReportEngine::textExpressions()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    OneValue one(QStringLiteral("Иванов"), FieldKind::Text);
    one.cell().setExpressionText(text);
    QCOMPARE(one.printed(), expected);
}

void TstReportEngine::runTimeTextPrintsLiterally()
{
    OneValue one(QStringLiteral("Иванов"), FieldKind::Text);
    for (const QString& name :
         {QStringLiteral("Иванов [ст.]"), QStringLiteral("[ds.\"V\"]"), QStringLiteral("[Page#]")}) {
        one.cell().setText(name);
        QCOMPARE(one.printed(), name);
    }
    one.cell().setExpressionText(QStringLiteral("[ds.\"V\"]"));
    QCOMPARE(one.printed(), QStringLiteral("Иванов"));
}

void TstReportEngine::stretchedBandGrowsToItsTallestMemo()
{
    auto report = fromJson(R"({"name": "s", "dataSets": ["ds"], "bands": [
      {"kind": "MasterData", "dataSet": "ds", "height": 5, "stretched": true, "memos": [
        {"name": "Short", "left": 0, "top": 0, "width": 30, "frame": "all", "stretch": "maxHeight", "text": "[ds.\u0022A\u0022]"},
        {"name": "Long", "left": 30, "top": 0, "width": 30, "frame": "all", "stretch": "maxHeight", "text": "[ds.\u0022B\u0022]"},
        {"name": "Fixed", "left": 60, "top": 0, "width": 30, "frame": "all", "text": "[ds.\u0022B\u0022]"}]}]})");
    auto rows = std::make_shared<TableRowSource>(QStringList{QStringLiteral("A"), QStringLiteral("B")});
    rows->addRow({QStringLiteral("short"), QStringLiteral("Иванов Иван Иванович, Петров Пётр Петрович")});
    rows->addRow({QStringLiteral("one"), QStringLiteral("two")});
    report->dataSet(QStringLiteral("ds"))->setSource(rows);
    report->PrepareReport();
    const auto& bands = report->prepared()->pages.at(0).bands;
    QCOMPARE(bands.size(), size_t(2));

    const PreparedBand& grown = bands[0];
    const PreparedItem& longCell = grown.items[1];
    QVERIFY(longCell.lines.size() >= 3);
    QVERIFY(grown.rect.height() > 5 * kMm);
    QVERIFY(grown.rect.height() >= longCell.lines.size() * 14.0); // a 13-pixel line is about 15 units
    QCOMPARE(grown.items[0].rect.height(), grown.rect.height());  // every stretching cell as tall as the band
    QCOMPARE(grown.items[1].rect.height(), grown.rect.height());
    QCOMPARE(grown.items[2].rect.height(), 5 * kMm); // a memo not marked keeps its height
    // The next row starts under the grown one and keeps the design height.
    QCOMPARE(bands[1].rect.top(), grown.rect.bottom());
    QCOMPARE(bands[1].rect.height(), 5 * kMm);
}

void TstReportEngine::wrappedTextStaysInsideItsMemo()
{
    // A long text in a low memo of a band that does not stretch, beside an
    // empty neighbour: painted, nothing of it falls outside its box.
    auto report = fromJson(R"({"name": "w", "bands": [
      {"kind": "ReportTitle", "height": 20, "memos": [
        {"name": "Text", "left": 0, "top": 5, "width": 25, "height": 9,
         "text": "Долгий текст, которому не хватит места в своей рамке, совсем"},
        {"name": "Neighbour", "left": 25, "top": 5, "width": 25, "height": 9, "frame": "all", "text": ""}]}]})");
    report->PrepareReport();
    const PreparedItem& item = report->prepared()->pages.at(0).bands.at(0).items.at(0);
    QVERIFY(item.lines.size() > 2); // more than the memo can show
    QCOMPARE(item.lines.join(u' '), item.text);

    QImage page(QSize(800, 1131), QImage::Format_RGB32); // the paper at 96 dpi
    page.fill(Qt::white);
    {
        QPainter p(&page);
        ReportPainter(*report->prepared()).paintPage(p, 0, 96, 96);
    }
    const QRect box = item.rect.toAlignedRect();
    int inside = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool dark = qGray(page.pixel(x, y)) < 160;
            const bool onNeighbourFrame = x >= box.right() - 1 && x <= box.right() + 2 + static_cast<int>(25 * kMm);
            if (box.adjusted(-1, -1, 1, 1).contains(x, y)) {
                inside += dark;
            } else if (dark && !(onNeighbourFrame && y >= box.top() - 1 && y <= box.bottom() + 1)) {
                QFAIL(qPrintable(QStringLiteral("ink at %1,%2 outside the memo").arg(x).arg(y)));
            }
        }
    }
    QVERIFY(inside > 50);
}

void TstReportEngine::missingDataIsReported()
{
    auto report = fromJson(kNumbered);
    try {
        report->PrepareReport();
        QFAIL("an unbound data set built");
    } catch (const ReportError& e) {
        QVERIFY2(e.text().contains(QLatin1String("\"ds\"")), qPrintable(e.text()));
    }
    report->dataSet(QStringLiteral("ds"))->setSource(names(2));
    report->PrepareReport();
    report->FindObject(QStringLiteral("Name"))->setExpressionText(QStringLiteral("[ds.\"Surname\"]"));
    try {
        report->PrepareReport();
        QFAIL("a missing field built");
    } catch (const ReportError& e) {
        QVERIFY2(e.text().contains(QLatin1String("Surname")), qPrintable(e.text()));
    }
    // The pages of the last good build are still there.
    QVERIFY(report->prepared()->texts().contains(QStringLiteral("Name 2")));
    QCOMPARE(report->FindObject(QStringLiteral("NoSuchMemo")), nullptr);
}

void TstReportEngine::preparingAgainAppendsWhenAsked()
{
    auto report = fromJson(kNumbered);
    report->dataSet(QStringLiteral("ds"))->setSource(names(30));
    report->PrepareReport(true);
    QCOMPARE(report->prepared()->pages.size(), size_t(2));
    report->PrepareReport(false);
    QCOMPARE(report->prepared()->pages.size(), size_t(4));
    QCOMPARE(report->prepared()->texts().last(), QStringLiteral("Page 4"));
    report->PrepareReport(true);
    QCOMPARE(report->prepared()->pages.size(), size_t(2));
}

void TstReportEngine::badTemplatesAreRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("says");
    const auto memo = [](const char* extra) {
        return QByteArray(
                   R"({"name": "r", "dataSets": ["ds"], "bands": [{"kind": "ReportTitle", "height": 5, "memos": [)")
            + extra + "]}]}";
    };
    QTest::newRow("not JSON") << QByteArray("{\"name\": ") << "test";
    QTest::newRow("unknown key") << memo(R"({"name": "m", "left": 0, "top": 0, "width": 5, "colour": "red"})")
                                 << "colour";
    QTest::newRow("missing width") << memo(R"({"name": "m", "left": 0, "top": 0})") << "width";
    QTest::newRow("negative size") << memo(R"({"name": "m", "left": 0, "top": 0, "width": -5})") << "width";
    QTest::newRow("two memos of a name") << memo(
        R"({"name": "m", "left": 0, "top": 0, "width": 5}, {"name": "m", "left": 5, "top": 0, "width": 5})")
                                         << "memo m";
    QTest::newRow("undeclared data set in a text")
        << memo(R"({"name": "m", "left": 0, "top": 0, "width": 5, "text": "[other.\u0022F\u0022]"})") << "other";
    QTest::newRow("unknown alignment") << memo(R"({"name": "m", "left": 0, "top": 0, "width": 5, "align": "middle"})")
                                       << "middle";
    QTest::newRow("unknown band kind") << QByteArray(
        R"({"name": "r", "bands": [{"kind": "GroupHeader", "height": 5}]})")
                                       << "GroupHeader";
    QTest::newRow("master without data set")
        << QByteArray(R"({"name": "r", "bands": [{"kind": "MasterData", "height": 5}]})") << "dataSet";
    QTest::newRow("no name") << QByteArray(R"({"bands": []})") << "name";
}

void TstReportEngine::badTemplatesAreRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, says);
    try {
        TemplateLoader::fromJson(json, QStringLiteral("test"));
        QFAIL("loaded");
    } catch (const ReportError& e) {
        QVERIFY2(e.text().contains(says), qPrintable(e.text()));
    }
}

void TstReportEngine::resultSetLongerThanItsFirstPage()
{
    // A result set fetches its rows page by page: the report reads them all.
    ReportDb rdb;
    dbfixture::addTools(rdb.db, 130);
    Query tools(rdb.db);
    tools.setSql(QStringLiteral("SELECT ID_Tool AS Name FROM Tools ORDER BY ID"));
    tools.open();
    QVERIFY(tools.canFetchMore());
    auto report = fromJson(kNumbered);
    report->dataSet(QStringLiteral("ds"))->setQuery(tools);
    report->PrepareReport();
    const QStringList texts = report->prepared()->texts();
    QVERIFY(texts.contains(dbfixture::toolCode(130)));
    QVERIFY(texts.contains(QStringLiteral("End after 130")));
    QCOMPARE(tools.recNo(), 0);
}

QTEST_MAIN(TstReportEngine)
#include "tst_report_engine.moc"
