#pragma once

#include "data/Query.h"

#include "reportengine/TfrxReport.h"

#include <QDate>
#include <functional>
#include <memory>
#include <optional>

class Connection;

// The issue history over a range of days: the journal query and the two
// templates it fills. The time switch changes one template for the rest of
// the run, as the settings page applies it. Each template is read on its
// first use, with the hooks and the time switch given before then.
class HistoryReport
{
public:
    explicit HistoryReport(Connection& db);
    ~HistoryReport();
    HistoryReport(const HistoryReport&) = delete;
    HistoryReport& operator=(const HistoryReport&) = delete;

    // The last day the page offers at first: one calendar month after today,
    // or that month's last day when it is shorter.
    static QDate defaultLastDay(const QDate& today);

    // Loads the journal rows of the days from..to, both included. Throws DbError.
    void open(const QDate& from, const QDate& to);
    // The template of that language, bound to the loaded rows.
    TfrxReport& report(bool russian);
    // Today's date and the preview window, for both templates.
    void setHooks(std::function<QDate()> today, TfrxReport::ShowPreview showPreview);
    // The fifth column shows the time when on, the tool type when off, in
    // the template of that language only.
    void applyShowTime(bool on, bool russianTemplate);

    Query qHReport;

private:
    struct Template {
        std::unique_ptr<TfrxReport> report;
        std::optional<bool> showTime; // the switch as last applied to it
    };
    Template& slot(bool russian) { return russian ? m_ru : m_en; }
    static void showTimeIn(TfrxReport& report, bool on, bool russianTemplate);

    Template m_ru;
    Template m_en;
    std::function<QDate()> m_today;
    TfrxReport::ShowPreview m_showPreview;
};
