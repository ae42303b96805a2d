#pragma once

#include "ExportResult.h"
#include "ReportPreview.h"
#include "TfrxDBDataset.h"
#include "TfrxReportPage.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class PreparedReport;
class TfrxMemoView;
class TfrxRTFExport;
class WorkProgress;

// A banded report template owned by a window: its data sets, its page of
// bands and memos, and the pages last built from it. A window binds the data
// sets to its result sets, sets memo texts found by name, and then shows,
// prints or exports the report.
class TfrxReport
{
public:
    explicit TfrxReport(const QString& name = {});
    ~TfrxReport();
    TfrxReport(const TfrxReport&) = delete;
    TfrxReport& operator=(const TfrxReport&) = delete;

    const QString& name() const { return m_name; }
    TfrxReportPage& page() { return m_page; }
    const TfrxReportPage& page() const { return m_page; }

    TfrxDBDataset& addDataSet(const QString& name);
    TfrxDBDataset* dataSet(const QString& name) const;
    const std::vector<std::unique_ptr<TfrxDBDataset>>& dataSets() const { return m_dataSets; }

    // The memo of that name on any band, or nullptr.
    TfrxMemoView* FindObject(const QString& name) const;

    // Today's date for [Date]; the system date unless set.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // Builds the pages afresh, or after the last built ones with the page
    // numbers going on. Throws ReportError when a data set or field is
    // missing, WorkCancelled when progress was cancelled; the last pages
    // then stay as they were.
    void PrepareReport(bool clearLastReport = true, WorkProgress* progress = nullptr);
    // Builds the pages afresh into out and hands out to pageDone as each is
    // finished, dropping the page after (out keeps the styles); prepared()
    // stays as it was. For files: the preview needs every page at once, a
    // file only the one being written.
    void BuildPages(PreparedReport& out, const std::function<void(PreparedReport& out)>& pageDone,
                    WorkProgress* progress = nullptr);
    // The pages of the last build (empty before the first).
    std::shared_ptr<const PreparedReport> prepared() const { return m_prepared; }

    // Hands the last built pages to the RTF filter.
    ExportResult Export(TfrxRTFExport& filter);

    // Builds the pages afresh and shows them in the preview window. The
    // window decides how the preview is shown (its dialogs seam); without a
    // handler it runs modally here.
    void ShowReport(bool clearLastReport = true);
    // Shows the last built pages so.
    void ShowPrepared();
    using ShowPreview = std::function<void(ReportPreview& preview)>;
    void setShowPreview(ShowPreview show) { m_showPreview = std::move(show); }
    ReportPreview::Hooks previewHooks;

private:
    QString m_name;
    TfrxReportPage m_page;
    std::vector<std::unique_ptr<TfrxDBDataset>> m_dataSets;
    std::function<QDate()> m_today;
    std::shared_ptr<PreparedReport> m_prepared;
    ShowPreview m_showPreview;
};
