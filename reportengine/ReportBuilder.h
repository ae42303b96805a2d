#pragma once

#include "TextMeasurer.h"

#include "data/FieldKind.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

class PreparedReport;
class TfrxBand;
class TfrxMemoView;
class TfrxReport;
class WorkProgress;
struct PreparedBand;

// Lays a template's bands out into pages: the title once, page headers and
// footers on every page, each master band once per row of its data set with
// its header before the first row and its footer after the last. A band
// that does not fit starts a new page; a stretched band grows to its
// stretching memos; text wraps inside its memo.
class ReportBuilder
{
public:
    // Inner padding of a memo's text, in report units.
    static constexpr double kGapX = 2;
    static constexpr double kGapY = 1;

    ReportBuilder(const TfrxReport& report, PreparedReport& out, const QDate& today, int firstPage = 1);

    // Told of the rows laid out now and then; a cancel there throws
    // WorkCancelled out of build().
    void setProgress(WorkProgress* progress) { m_progress = progress; }
    // When set, each page goes there as soon as it is finished (the only
    // page out then holds) and is dropped after: a long report written to a
    // file never holds all of its pages.
    using PageDone = std::function<void(PreparedReport& out)>;
    void setPageDone(PageDone pageDone) { m_pageDone = std::move(pageDone); }

    // Appends the built pages to out. Throws ReportError for a data set that
    // is missing, unbound or lacks a field the template prints.
    void build();

private:
    struct Field {
        QVariant value;
        FieldKind kind;
    };

    void startPage();
    void finishPage();
    double available() const { return m_limit - m_y; }
    void placeBand(const TfrxBand& band);
    void append(PreparedBand&& band);
    void runMaster(const TfrxBand& master, const std::vector<const TfrxBand*>& headers, bool& hadRows);
    PreparedBand render(const TfrxBand& band, double top);
    QString evaluate(const TfrxMemoView& memo);
    Field field(const QString& dataSet, const QString& name);

    const TfrxReport& m_report;
    PreparedReport& m_out;
    QDate m_today;
    int m_page;
    int m_line = 0;
    double m_y = 0;
    double m_limit = 0;
    bool m_pageHasBands = false;
    std::vector<const TfrxBand*> m_pageHeaders;
    std::vector<const TfrxBand*> m_pageFooters;
    double m_footerHeight = 0;
    TextMeasurer m_measurer;
    QHash<QString, int> m_fieldIndex;
    // Each memo's style among out's: found once, not compared every row.
    QHash<const TfrxMemoView*, int> m_styleOf;
    WorkProgress* m_progress = nullptr;
    PageDone m_pageDone;
};
