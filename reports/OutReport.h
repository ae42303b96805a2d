#pragma once

#include "core/ToolsOut.h"

#include "reportengine/TfrxReport.h"

#include <functional>
#include <memory>

class WorkProgress;
class TableRowSource;

// The tools-out report: the list as the page shows it (or only its
// overdue rows), with the counts in its title, in the template of the
// interface language.
class OutReport
{
public:
    OutReport();
    ~OutReport();
    OutReport(const OutReport&) = delete;
    OutReport& operator=(const OutReport&) = delete;

    // The template of that language filled with tools, listed as given;
    // title names the report, counts says how many are out and overdue.
    // Throws ReportError.
    // Throws ReportError, WorkCancelled when progress was cancelled.
    TfrxReport& prepare(bool russian, const QList<OutTool>& tools, const QDate& today, const QString& title,
                        const QString& counts, WorkProgress* progress = nullptr);
    // Today's date and the preview window, for both templates.
    void setHooks(std::function<QDate()> today, TfrxReport::ShowPreview showPreview);

private:
    TfrxReport& report(bool russian);

    std::shared_ptr<TableRowSource> m_rows;
    std::shared_ptr<TableRowSource> m_head;
    std::unique_ptr<TfrxReport> m_ru;
    std::unique_ptr<TfrxReport> m_en;
    std::function<QDate()> m_today;
    TfrxReport::ShowPreview m_showPreview;
};
