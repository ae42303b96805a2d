#include "ConsumerTools.h"

#include "data/WorkCancelled.h"
#include "reportengine/PreparedReport.h"
#include "reportengine/ReportPdfWriter.h"
#include "reportengine/ReportPreview.h"
#include "reportengine/TableRowSource.h"
#include "reportengine/TemplateLoader.h"
#include "reportengine/TfrxRTFExport.h"
#include "reportengine/TfrxReport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// Rows of 10 mm under a page footer: 26 rows a page.
const char* kRows = R"({
  "name": "rows", "dataSets": ["ds"],
  "bands": [
    {"kind": "MasterData", "dataSet": "ds", "height": 10, "memos": [
      {"name": "Name", "left": 0, "top": 0, "width": 80, "text": "[ds.\u0022Name\u0022]"}]},
    {"kind": "PageFooter", "height": 10, "memos": [{"name": "PageNo", "left": 150, "top": 0, "width": 40, "text": "Page [Page#]"}]}
  ]})";

std::unique_ptr<TfrxReport> rowsReport(int count, const QString& name = QStringLiteral("Name %1"))
{
    auto report = TemplateLoader::fromJson(QByteArray(kRows), QStringLiteral("test"));
    auto rows = std::make_shared<TableRowSource>(QStringList{QStringLiteral("Name")});
    for (int i = 1; i <= count; ++i)
        rows->addRow({name.arg(i)});
    report->dataSet(QStringLiteral("ds"))->setSource(rows);
    return report;
}

// Records every call and answers "cancelled" from the given call on.
class ScriptedProgress final : public WorkProgress
{
public:
    explicit ScriptedProgress(int cancelAtCall = -1)
        : m_cancelAt(cancelAtCall)
    {
    }
    void setStage(const QString&) override { }
    bool advance(qint64 done, qint64 total) override
    {
        calls.append({done, total});
        return m_cancelAt < 0 || calls.size() < m_cancelAt;
    }
    QList<QPair<qint64, qint64>> calls;

private:
    int m_cancelAt;
};

} // namespace

class TstReportProgress : public QObject
{
    Q_OBJECT
private slots:
    void buildTellsRowsDoneOfAll();
    void cancelledBuildKeepsTheLastPages();
    void cancelledFileLeavesNothing_data();
    void cancelledFileLeavesNothing();
    void writersTellPagesDoneOfAll();
    void pageByPageWritesTheSameDocument_data();
    void pageByPageWritesTheSameDocument();
    void cancelledPreviewSaveSaysNothing_data();
    void cancelledPreviewSaveSaysNothing();
};

void TstReportProgress::buildTellsRowsDoneOfAll()
{
    auto report = rowsReport(1000);
    ScriptedProgress progress;
    report->PrepareReport(true, &progress);
    QVERIFY(!progress.calls.isEmpty());
    qint64 last = 0;
    for (const auto& [done, total] : std::as_const(progress.calls)) {
        QCOMPARE(total, 1000);
        QVERIFY(done > last && done <= total);
        last = done;
    }
    // Not once a row: the calls are to cost nothing next to the work.
    QVERIFY(progress.calls.size() < 100);
}

void TstReportProgress::cancelledBuildKeepsTheLastPages()
{
    auto report = rowsReport(1000);
    report->PrepareReport();
    const auto before = report->prepared();
    ScriptedProgress cancelling(2);
    QVERIFY_THROWS_EXCEPTION(WorkCancelled, report->PrepareReport(true, &cancelling));
    QCOMPARE(cancelling.calls.size(), 2);
    QCOMPARE(report->prepared(), before);
}

void TstReportProgress::cancelledFileLeavesNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("oldFile");
    for (const char* format : {"pdf", "rtf", "pdf page by page"}) {
        QTest::addRow("%s, new file", format) << QString::fromLatin1(format) << false;
        QTest::addRow("%s, over an old file", format) << QString::fromLatin1(format) << true;
    }
}

void TstReportProgress::cancelledFileLeavesNothing()
{
    QFETCH(QString, format);
    QFETCH(bool, oldFile);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.") + format.left(3));
    const QByteArray old = "the earlier report";
    if (oldFile) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    auto report = rowsReport(26 * 20);
    report->PrepareReport();
    QCOMPARE(report->prepared()->pages.size(), size_t(20));

    // Cancelled half way, with pages already written to the temporary file.
    ScriptedProgress cancelling(5);
    if (format == u"pdf") {
        QVERIFY_THROWS_EXCEPTION(WorkCancelled, ReportPdfWriter::write(*report->prepared(), file, &cancelling));
    } else if (format.startsWith(u"pdf")) {
        // Told of the rows: 26 * 20 rows, a call every 64.
        QVERIFY_THROWS_EXCEPTION(WorkCancelled, ReportPdfWriter::buildAndWrite(*report, file, &cancelling));
    } else {
        TfrxRTFExport filter;
        filter.FileName = file;
        filter.confirmOverwrite = [](const QString&) { return true; };
        filter.progress = &cancelling;
        QVERIFY_THROWS_EXCEPTION(WorkCancelled, (void)report->Export(filter));
    }
    QCOMPARE(cancelling.calls.size(), 5);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (oldFile) {
        QCOMPARE(left, QStringList{QFileInfo(file).fileName()});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    } else {
        QCOMPARE(left, QStringList());
    }
}

void TstReportProgress::writersTellPagesDoneOfAll()
{
    QTemporaryDir dir;
    auto report = rowsReport(26 * 5);
    report->PrepareReport();
    const QList<QPair<qint64, qint64>> pages{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};

    ScriptedProgress pdf;
    ReportPdfWriter::write(*report->prepared(), dir.filePath(QStringLiteral("r.pdf")), &pdf);
    QCOMPARE(pdf.calls, pages);

    ScriptedProgress rtf;
    TfrxRTFExport filter;
    filter.FileName = dir.filePath(QStringLiteral("r.rtf"));
    filter.progress = &rtf;
    QCOMPARE(report->Export(filter), ExportResult::Written);
    QCOMPARE(rtf.calls, pages);
}

void TstReportProgress::pageByPageWritesTheSameDocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Name %1");
    // Named in the document only once it is whole, whichever page it was on.
    QTest::newRow("beyond the first 65,536 characters") << QStringLiteral("Name %1 \U0001F6E0");
}

void TstReportProgress::pageByPageWritesTheSameDocument()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    auto report = rowsReport(26 * 3 + 5, name);
    report->PrepareReport();
    const auto before = report->prepared();
    const QString whole = dir.filePath(QStringLiteral("whole.pdf"));
    ReportPdfWriter::write(*before, whole);
    const QString byPage = dir.filePath(QStringLiteral("by-page.pdf"));
    ReportPdfWriter::buildAndWrite(*report, byPage);

    QCOMPARE(consumers::pdfPages(byPage), 4);
    const QString text = consumers::pdfText(byPage);
    QCOMPARE(text, consumers::pdfText(whole));
    QVERIFY2(text.contains(name.arg(83)), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Page 4")), qPrintable(text));
    // The preview's pages are not those of the file.
    QCOMPARE(report->prepared(), before);
}

void TstReportProgress::cancelledPreviewSaveSaysNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("pdf") << QStringLiteral("pdf");
    QTest::newRow("rtf") << QStringLiteral("rtf");
}

void TstReportProgress::cancelledPreviewSaveSaysNothing()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.") + format);
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the earlier report");
    old.close();
    auto report = rowsReport(26 * 20);
    report->PrepareReport();
    ReportPreview preview(report->prepared());
    QStringList told;
    ReportPreview::Hooks hooks;
    hooks.saveFileName = [&file](const QString&, const QString&) { return file; };
    hooks.confirmOverwrite = [](const QString&) { return true; };
    hooks.showError = [&told](const QString& text) { told << text; };
    hooks.writeFailed = [&told](const FileWriteError&, const QString& f) { told << f; };
    hooks.written = [&told](const QString& f) { told << f; };
    bool shown = false;
    hooks.progress = [&shown](const QString&) -> std::unique_ptr<WorkProgress> {
        shown = true;
        return std::make_unique<ScriptedProgress>(3);
    };
    preview.setHooks(hooks);

    QVERIFY(!(format == u"pdf" ? preview.saveAsPdf() : preview.exportToRtf()));
    QVERIFY(shown);
    QCOMPARE(told, QStringList());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the earlier report"));
}

QTEST_MAIN(TstReportProgress)
#include "tst_report_progress.moc"
