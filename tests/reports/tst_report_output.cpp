#include "ConsumerTools.h"

#include "data/DbFixture.h"
#include "data/FileWriteError.h"
#include "data/WorkProgress.h"
#include "reportengine/PreparedItem.h"
#include "reportengine/PreparedReport.h"
#include "reportengine/ReportError.h"
#include "reportengine/ReportPdfWriter.h"
#include "reportengine/ReportPreview.h"
#include "reportengine/ReportPrinter.h"
#include "reportengine/RtfWriter.h"
#include "reportengine/TableRowSource.h"
#include "reportengine/TemplateLoader.h"
#include "reportengine/TfrxRTFExport.h"
#include "reportengine/TfrxReport.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <optional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(FileWriteError::Cause)

namespace {

// Landscape, framed rows of one field, a page number on every page.
const char* kFramed = R"({
  "name": "framed", "orientation": "landscape", "dataSets": ["ds"],
  "bands": [
    {"kind": "ReportTitle", "height": 15, "memos": [{"name": "Title", "left": 0, "top": 0, "width": 100, "text": "Журнал"}]},
    {"kind": "MasterData", "dataSet": "ds", "height": 8, "memos": [
      {"name": "No", "left": 0, "top": 0, "width": 15, "frame": "all", "align": "center", "text": "[Line]"},
      {"name": "Name", "left": 15, "top": 0, "width": 80, "frame": "all", "text": "[ds.\u0022Name\u0022]"}]},
    {"kind": "PageFooter", "height": 10, "memos": [{"name": "PageNo", "left": 240, "top": 0, "width": 37, "align": "right", "text": "[Page#]"}]}
  ]})";

std::unique_ptr<TfrxReport> framed(int rows)
{
    auto report = TemplateLoader::fromJson(QByteArray(kFramed), QStringLiteral("test"));
    auto table = std::make_shared<TableRowSource>(QStringList{QStringLiteral("Name")});
    for (int i = 1; i <= rows; ++i)
        table->addRow({QStringLiteral("Получатель %1").arg(i)});
    report->dataSet(QStringLiteral("ds"))->setSource(table);
    report->PrepareReport();
    return report;
}

// One value in low cells, as a statement prints its rows: a regular and a
// bold cell that cannot grow, and a first line of literal words.
const char* kCells = R"({
  "name": "cells", "dataSets": ["ds"],
  "bands": [
    {"kind": "ReportTitle", "height": 8, "memos": [{"name": "Title", "left": 0, "top": 0, "width": 100, "text": "Начало"}]},
    {"kind": "MasterData", "dataSet": "ds", "height": 5, "memos": [
      {"name": "Plain", "left": 0, "top": 0, "width": 95, "frame": "all", "text": "[ds.\u0022V\u0022]"},
      {"name": "Bold", "left": 95, "top": 0, "width": 95, "frame": "all", "bold": true, "text": "[ds.\u0022V\u0022]"}]},
    {"kind": "Footer", "height": 8, "memos": [{"name": "End", "left": 0, "top": 0, "width": 100, "text": "Конец"}]}
  ]})";

std::unique_ptr<TfrxReport> cells(const QString& value, const char* json = kCells)
{
    auto report = TemplateLoader::fromJson(QByteArray(json), QStringLiteral("test"));
    auto table = std::make_shared<TableRowSource>(QStringList{QStringLiteral("V")});
    table->addRow({value});
    report->dataSet(QStringLiteral("ds"))->setSource(table);
    report->PrepareReport();
    return report;
}

QString oneSpaced(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.replace(space, QStringLiteral(" ")).trimmed();
}

QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& file, const QByteArray& data)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class TstReportOutput : public QObject
{
    Q_OBJECT

private slots:
    void rtfText_data();
    void rtfText();
    void rtfDocumentKeepsPaperAndFrames();
    void exportAsksBeforeOverwriting();
    void exportFailureLeavesNoHalfFile_data();
    void exportFailureLeavesNoHalfFile();
    void pdfAndPrinterPaintEveryPage();
    void pdfHoldsEveryCharacter_data();
    void pdfHoldsEveryCharacter();
    void pdfKeepsLineBreaksWhereTheMemoGrows();
    void previewOffersPdfAndRtf();
};

void TstReportOutput::rtfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("control characters") << "a{b}c\\" << QByteArray("a\\{b\\}c\\\\");
    QTest::newRow("Cyrillic with its ANSI byte") << "Жё" << QByteArray("\\u1046\\'c6\\u1105\\'b8");
    QTest::newRow("number sign") << "№" << QByteArray("\\u8470\\'b9");
    QTest::newRow("no ANSI byte") << "€" << QByteArray("\\u8364?");
    QTest::newRow("beyond 16 bits") << QString::fromUtf8("\xF0\x9F\x94\xA7") << QByteArray("\\u-10179?\\u-8921?");
    QTest::newRow("line break and tab") << "a\nb\tc" << QByteArray("a\\line b\\tab c");
}

void TstReportOutput::rtfText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, rtf);
    QCOMPARE(RtfWriter::escape(text), rtf);
}

void TstReportOutput::rtfDocumentKeepsPaperAndFrames()
{
    auto report = framed(40);
    const PreparedReport& built = *report->prepared();
    QCOMPARE(built.pages.size(), size_t(2));
    const QByteArray rtf = RtfWriter(built).toRtf();
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    QVERIFY(rtf.endsWith("}\n"));
    QCOMPARE(rtf.count('{'), rtf.count('}')); // nothing in the texts opens a group
    for (const char* word :
         {"\\paperw16838\\paperh11906", "\\landscape", "\\margl567\\margr567\\margt567", "\\fcharset204 Arial",
          "\\clbrdrt\\brdrs", "\\clbrdrl\\brdrs", "\\qc", "\\qr", "\\u1046\\'c6"})
        QVERIFY2(rtf.contains(word), word);
    QCOMPARE(rtf.count("\\page\\par"), 1); // between the two pages, not after the last
}

void TstReportOutput::exportAsksBeforeOverwriting()
{
    QTemporaryDir dir;
    auto report = framed(40);
    TfrxRTFExport filter;
    QCOMPARE(filter.FileName, QStringLiteral("Report.rtf"));
    const QString file = dir.filePath(QStringLiteral("Inventory_09.12.2021_14-05-07.rtf"));
    int raised = 0;
    filter.OnBeforeExport = [&](TfrxRTFExport& f) {
        ++raised;
        f.FileName = file;
    };
    struct Steps final : WorkProgress {
        void setStage(const QString&) override { }
        bool advance(qint64 done, qint64 total) override
        {
            list.append({static_cast<int>(done), static_cast<int>(total)});
            return true;
        }
        QList<std::pair<int, int>> list;
    } steps;
    filter.progress = &steps;
    QCOMPARE(report->Export(filter), ExportResult::Written);
    QCOMPARE(raised, 1);
    QCOMPARE(steps.list, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
    const QByteArray first = readAll(file);
    QVERIFY(first.contains("\\rtf1"));

    // Once more in the same second: asked, and kept unless the answer is yes.
    writeFile(file, "earlier inventory");
    QCOMPARE(report->Export(filter), ExportResult::Declined); // nobody to ask
    QStringList asked;
    bool answer = false;
    filter.confirmOverwrite = [&](const QString& f) {
        asked << f;
        return answer;
    };
    QCOMPARE(report->Export(filter), ExportResult::Declined);
    QCOMPARE(readAll(file), QByteArray("earlier inventory"));
    answer = true;
    QCOMPARE(report->Export(filter), ExportResult::Written);
    QCOMPARE(asked, (QStringList{file, file}));
    QCOMPARE(readAll(file), first);
}

void TstReportOutput::exportFailureLeavesNoHalfFile_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<FileWriteError::Cause>("cause");
    using C = FileWriteError::Cause;
    for (const bool pdf : {true, false}) {
        const char* kind = pdf ? "PDF, " : "RTF, ";
        QTest::addRow("%sfull disk", kind) << pdf << "full" << C::DiskFull;
        QTest::addRow("%sno such folder", kind) << pdf << "folder" << C::FolderMissing;
        QTest::addRow("%sa folder of the name", kind) << pdf << "dir" << C::NotRegularFile;
        QTest::addRow("%sa FIFO of the name", kind) << pdf << "fifo" << C::NotRegularFile;
    }
}

void TstReportOutput::exportFailureLeavesNoHalfFile()
{
    QFETCH(bool, pdf);
    QFETCH(QString, fault);
    QFETCH(FileWriteError::Cause, cause);
    QTemporaryDir dir;
    auto report = framed(200); // larger than the limit below
    const QString file = dir.filePath(fault == u"folder" ? QStringLiteral("no such folder/Report")
                                                         : QStringLiteral("Report"));
    if (fault == u"full")
        writeFile(file, "yesterday's report");
    else if (fault == u"dir")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Report")));
    else if (fault == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    int asked = 0;
    try {
        std::optional<dbfixture::FileSizeLimit> full;
        if (fault == u"full")
            full.emplace(8 * 1024);
        if (pdf) {
            ReportPdfWriter::write(*report->prepared(), file);
        } else {
            TfrxRTFExport filter;
            filter.FileName = file;
            filter.confirmOverwrite = [&asked](const QString&) { return ++asked > 0; };
            (void)report->Export(filter);
        }
        QFAIL("written");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), cause);
    }
    // Only a file is worth the question whether to replace it.
    QCOMPARE(asked, !pdf && fault == u"full" ? 1 : 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    if (fault == u"full")
        QCOMPARE(readAll(file), QByteArray("yesterday's report"));
}

void TstReportOutput::pdfAndPrinterPaintEveryPage()
{
    QTemporaryDir dir;
    auto report = framed(40);
    const QString pdf = dir.filePath(QStringLiteral("framed.pdf"));
    ReportPdfWriter::write(*report->prepared(), pdf);
    QCOMPARE(consumers::pdfPages(pdf), 2);
    QVERIFY(consumers::samePageSize(pdf, QStringLiteral("842 x 595")));
    const QString text = consumers::pdfText(pdf);
    QVERIFY(consumers::missingInOrder(text, {"Журнал", "1", "Получатель 1", "Получатель 40", "2"}).isEmpty());

    // The printer's path, with a file for a printer.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(printed);
    printer.setPageLayout(ReportPrinter::pageLayout(*report->prepared()));
    printer.setFullPage(true);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(ReportPrinter::print(printer, *report->prepared()));
    QCOMPARE(consumers::pdfPages(printed), 2);
    QVERIFY(consumers::pdfText(printed).contains(QStringLiteral("Получатель 40")));
}

void TstReportOutput::pdfHoldsEveryCharacter_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown"); // as a reader takes it from the PDF
    QTest::newRow("line break") << "Иванов\nИван Петрович"
                                << "Иванов Иван Петрович";
    QTest::newRow("line break of another system") << "A-1\r\nB-2"
                                                  << "A-1 B-2";
    QTest::newRow("tab") << "Bosch\tGSB 13"
                         << "Bosch GSB 13";
    QTest::newRow("emoji") << "Дрель 😀 новая"
                           << "Дрель 😀 новая";
    QTest::newRow("emoji of a font for symbols") << "Ключ 🔧 на 17"
                                                 << "Ключ 🔧 на 17";
    QTest::newRow("several beyond the 16 bits") << "😀🔧𝔸 и 😀"
                                                << "😀🔧𝔸 и 😀";
    QTest::newRow("symbols the report font lacks") << "Знаки ★✓₽"
                                                   << "Знаки ★✓₽";
}

void TstReportOutput::pdfHoldsEveryCharacter()
{
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    auto report = cells(value);
    const QString pdf = dir.filePath(QStringLiteral("cells.pdf"));
    ReportPdfWriter::write(*report->prepared(), pdf);
    // Emoji come from the font for symbols where the others have none (fonts-symbola).
    const QString text = oneSpaced(consumers::pdfText(pdf));
    // Every character once, in order: nothing of the samples drawn beside the paper.
    QCOMPARE(text, QStringLiteral("Начало %1 %1 Конец").arg(shown));
}

void TstReportOutput::pdfKeepsLineBreaksWhereTheMemoGrows()
{
    // A row that grows to its text shows every line as it stands.
    auto report = cells(QStringLiteral("Первая\nВторая"), R"({
      "name": "grows", "dataSets": ["ds"], "bands": [
        {"kind": "MasterData", "dataSet": "ds", "height": 5, "stretched": true, "memos": [
          {"name": "V", "left": 0, "top": 0, "width": 95, "frame": "all", "stretch": "maxHeight",
           "text": "[ds.\u0022V\u0022]"}]}]})");
    const PreparedItem& item = report->prepared()->pages.at(0).bands.at(0).items.at(0);
    QCOMPARE(item.lines, (QStringList{"Первая", "Вторая"}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("grows.pdf"));
    ReportPdfWriter::write(*report->prepared(), pdf);
    QCOMPARE(consumers::pdfText(pdf).trimmed().split(u'\n').mid(0, 2), (QStringList{"Первая", "Вторая"}));
}

void TstReportOutput::previewOffersPdfAndRtf()
{
    QTemporaryDir dir;
    auto report = framed(5);
    QStringList written;
    QStringList errors;
    QString next;
    report->previewHooks.saveFileName = [&](const QString&, const QString&) { return next; };
    report->previewHooks.confirmOverwrite = [](const QString&) { return false; };
    report->previewHooks.written = [&](const QString& f) { written << f; };
    report->previewHooks.showError = [&](const QString& e) { errors << e; };
    int shown = 0;
    report->setShowPreview([&](ReportPreview& preview) {
        ++shown;
        // Both actions sit on a tool bar of their own, shown however Qt's
        // bar changes: the last page widens its zoom box.
        auto* bar = preview.window().findChild<QToolBar*>(QStringLiteral("ReportExportBar"));
        QVERIFY(bar);
        QVERIFY(bar->actions().contains(preview.savePdfAction()));
        QVERIFY(bar->actions().contains(preview.exportRtfAction()));
        preview.window().resize(520, 400);
        preview.window().show();
        QAction* lastPage = nullptr;
        for (QAction* a : preview.window().findChildren<QAction*>()) {
            if (a->text() == u"Last page")
                lastPage = a;
        }
        QVERIFY(lastPage);
        lastPage->trigger();
        QCoreApplication::processEvents();
        for (QAction* a : {preview.savePdfAction(), preview.exportRtfAction()}) {
            QWidget* button = bar->widgetForAction(a);
            QVERIFY2(button && button->isVisible(), qPrintable(a->text()));
            QVERIFY(bar->rect().contains(button->geometry()));
        }
        preview.window().hide();
        auto* printPreview = qobject_cast<QPrintPreviewDialog*>(&preview.window());
        QVERIFY(printPreview);
        QCOMPARE(printPreview->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY(printPreview->printer()->fullPage());

        next = dir.filePath(QStringLiteral("saved")); // the suffix is added
        preview.savePdfAction()->trigger();
        next = dir.filePath(QStringLiteral("saved.rtf"));
        preview.exportRtfAction()->trigger();
        // An existing file the user will not replace; a folder that is not there.
        preview.exportRtfAction()->trigger();
        next = dir.filePath(QStringLiteral("gone/saved.pdf"));
        preview.savePdfAction()->trigger();
        next.clear(); // cancelled
        QVERIFY(!preview.saveAsPdf());
    });
    report->ShowReport();
    QCOMPARE(shown, 1);
    QCOMPARE(written,
             (QStringList{dir.filePath(QStringLiteral("saved.pdf")), dir.filePath(QStringLiteral("saved.rtf"))}));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(consumers::pdfPages(written.at(0)), 1);
    QVERIFY(readAll(written.at(1)).contains("\\u1046"));
}

QTEST_MAIN(TstReportOutput)
#include "tst_report_output.moc"
