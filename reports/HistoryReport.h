#pragma once

#include "data/Query.h"

#include <QDate>
#include <memory>

class Connection;
class TfrxReport;

// The issue history over a range of days: the journal query and the two
// templates it fills. The time switch changes one template for the rest of
// the run, as the settings page applies it.
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
    // The fifth column shows the time when on, the tool type when off, in
    // the template of that language only.
    void applyShowTime(bool on, bool russianTemplate);

    Query qHReport;

private:
    std::unique_ptr<TfrxReport> frxReport_RU;
    std::unique_ptr<TfrxReport> frxReport_EN;
};
