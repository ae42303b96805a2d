#include "ReportBuilder.h"

#include "PreparedReport.h"
#include "ReportError.h"
#include "RowSource.h"
#include "TfrxReport.h"
#include "ValueText.h"
#include "data/WorkCancelled.h"

#include <algorithm>

namespace {
constexpr qint64 kRowsPerProgress = 64;
}

ReportBuilder::ReportBuilder(const TfrxReport& report, PreparedReport& out, const QDate& today, int firstPage)
    : m_report(report)
    , m_out(out)
    , m_today(today)
    , m_page(firstPage - 1)
{
}

void ReportBuilder::build()
{
    const TfrxReportPage& page = m_report.page();
    m_out.title = m_report.name();
    m_out.orientation = page.orientation();
    m_out.paperSize = page.paperSize();
    m_out.margins = page.margins();
    for (const auto& band : page.bands()) {
        if (band->kind() == TfrxBand::Kind::PageHeader)
            m_pageHeaders.push_back(band.get());
        if (band->kind() == TfrxBand::Kind::PageFooter) {
            m_pageFooters.push_back(band.get());
            m_footerHeight += band->height();
        }
    }

    startPage();
    std::vector<const TfrxBand*> headers;
    bool lastMasterHadRows = false;
    for (const auto& band : page.bands()) {
        switch (band->kind()) {
        case TfrxBand::Kind::ReportTitle:
            placeBand(*band);
            break;
        case TfrxBand::Kind::Header:
            headers.push_back(band.get());
            break;
        case TfrxBand::Kind::MasterData:
            runMaster(*band, headers, lastMasterHadRows);
            headers.clear();
            break;
        case TfrxBand::Kind::Footer:
            if (lastMasterHadRows)
                placeBand(*band);
            break;
        case TfrxBand::Kind::PageHeader:
        case TfrxBand::Kind::PageFooter:
            break;
        }
    }
    finishPage();
}

void ReportBuilder::startPage()
{
    m_out.pages.emplace_back();
    ++m_page;
    m_y = m_out.margins.top();
    m_limit = m_out.paperSize.height() - m_out.margins.bottom() - m_footerHeight;
    m_pageHasBands = false;
    for (const TfrxBand* band : m_pageHeaders)
        append(render(*band, m_y));
}

void ReportBuilder::finishPage()
{
    double y = m_out.paperSize.height() - m_out.margins.bottom() - m_footerHeight;
    for (const TfrxBand* band : m_pageFooters) {
        PreparedBand built = render(*band, y);
        built.rect.setHeight(band->height()); // a page footer keeps its place
        y += band->height();
        m_out.pages.back().bands.push_back(std::move(built));
    }
    if (m_pageDone) {
        m_pageDone(m_out);
        m_out.pages.clear();
    }
}

void ReportBuilder::append(PreparedBand&& band)
{
    m_y += band.rect.height();
    m_out.pages.back().bands.push_back(std::move(band));
}

void ReportBuilder::placeBand(const TfrxBand& band)
{
    PreparedBand built = render(band, m_y);
    if (built.rect.height() > available() && m_pageHasBands) {
        finishPage();
        startPage();
        built = render(band, m_y); // the page number may show in it
    }
    if (built.rect.height() > available()) {
        // Taller than a whole page: cut at the page's foot rather than print
        // over the page footer.
        const double bottom = m_limit;
        built.rect.setBottom(bottom);
        for (PreparedItem& item : built.items) {
            if (item.rect.bottom() > bottom)
                item.rect.setBottom(std::max(item.rect.top(), bottom));
        }
    }
    append(std::move(built));
    m_pageHasBands = true;
}

void ReportBuilder::runMaster(const TfrxBand& master, const std::vector<const TfrxBand*>& headers, bool& hadRows)
{
    const TfrxDBDataset* ds = m_report.dataSet(master.dataSet());
    if (!ds)
        throw ReportError(QStringLiteral("Report %1: band %2 reads the data set \"%3\", which the report does not have")
                              .arg(m_report.name(), master.name(), master.dataSet()));
    RowSource* rows = ds->source();
    if (!rows)
        throw ReportError(
            QStringLiteral("Report %1: the data set \"%2\" is bound to no rows").arg(m_report.name(), ds->name()));
    rows->first();
    hadRows = !rows->eof();
    const qint64 total = m_progress ? rows->rowsInAll() : 0;
    if (!hadRows)
        return;

    // The headings stay with the first row.
    m_line = 1;
    double together = render(master, m_y).rect.height();
    for (const TfrxBand* h : headers)
        together += render(*h, m_y).rect.height();
    if (together > available() && m_pageHasBands) {
        finishPage();
        startPage();
    }
    for (const TfrxBand* h : headers)
        placeBand(*h);
    for (qint64 done = 0; !rows->eof(); rows->next()) {
        placeBand(master);
        ++m_line;
        // Every so many rows: a progress call costs little, a row less still.
        if (++done % kRowsPerProgress == 0)
            advanceOrCancel(m_progress, done, total);
    }
    --m_line; // the last row's number stays for a footer
}

PreparedBand ReportBuilder::render(const TfrxBand& band, double top)
{
    struct Laid {
        const TfrxMemoView* memo;
        QString text;
        QStringList lines;
        double needed;
        double singleWidth;
    };
    std::vector<Laid> laid;
    laid.reserve(band.memos().size());
    double height = band.height();
    for (const auto& memo : band.memos()) {
        Laid l{memo.get(), evaluate(*memo), {}, 0, -1};
        if (l.text.isEmpty() && memo->style().frames == MemoStyle::NoFrame)
            continue;
        const QRectF& g = memo->geometry();
        const bool grows = band.stretched() && memo->stretch() != TfrxMemoView::Stretch::None;
        // A hair narrower than the padded memo, so rounding at print never
        // pushes the last letter over the frame.
        l.lines = m_measurer.wrap(l.text, memo->style(), g.width() - 2 * kGapX - 0.5, g.width(),
                                  grows ? TextMeasurer::Breaks::NewLine : TextMeasurer::Breaks::Blank, &l.singleWidth);
        l.needed = l.lines.size() * m_measurer.lineSpacing(memo->style()) + 2 * kGapY;
        if (grows)
            height = std::max(height, g.top() + l.needed);
        laid.push_back(std::move(l));
    }

    PreparedBand out;
    out.kind = band.kind();
    out.stretched = band.stretched();
    const double left = m_out.margins.left();
    out.rect = QRectF(left, top, m_out.paperSize.width() - left - m_out.margins.right(), height);
    out.items.reserve(laid.size());
    for (Laid& l : laid) {
        QRectF r = l.memo->geometry().translated(left, top);
        if (band.stretched()) {
            if (l.memo->stretch() == TfrxMemoView::Stretch::MaxHeight)
                r.setBottom(top + height);
            else if (l.memo->stretch() == TfrxMemoView::Stretch::ActualHeight)
                r.setHeight(std::max(r.height(), l.needed));
        }
        const double oneLine = l.lines.size() != 1 ? -1
            : l.singleWidth >= 0                   ? l.singleWidth
                                                   : m_measurer.width(l.lines.front(), l.memo->style());
        const bool fills = oneLine > r.width() - 2 * kGapX - 0.5;
        auto style = m_styleOf.constFind(l.memo);
        if (style == m_styleOf.constEnd())
            style = m_styleOf.insert(l.memo, m_out.styleIndex(l.memo->style()));
        out.items.push_back({r, std::move(l.text), std::move(l.lines), *style, fills});
    }
    std::stable_sort(out.items.begin(), out.items.end(), [](const PreparedItem& a, const PreparedItem& b) {
        return a.rect.top() != b.rect.top() ? a.rect.top() < b.rect.top() : a.rect.left() < b.rect.left();
    });
    return out;
}

QString ReportBuilder::evaluate(const TfrxMemoView& memo)
{
    QString text;
    if (memo.isBound()) {
        const Field f = field(memo.dataSet(), memo.dataField());
        text = ValueText::format(f.value, f.kind, memo.displayFormat());
    } else {
        for (const TextSegment& s : memo.text().segments()) {
            switch (s.kind) {
            case TextSegment::Kind::Literal:
                text += s.text;
                break;
            case TextSegment::Kind::Field: {
                const Field f = field(s.dataSet, s.field);
                text += ValueText::format(f.value, f.kind, memo.displayFormat());
                break;
            }
            case TextSegment::Kind::Line:
                text += QString::number(m_line);
                break;
            case TextSegment::Kind::PageNumber:
                text += QString::number(m_page);
                break;
            case TextSegment::Kind::Date:
                text += ValueText::format(m_today, FieldKind::Date, memo.displayFormat());
                break;
            case TextSegment::Kind::Unknown:
                break; // a name the engine does not know prints as nothing
            }
        }
    }
    if (memo.hideZeros() && ValueText::isZero(text))
        return {};
    return text;
}

ReportBuilder::Field ReportBuilder::field(const QString& dataSet, const QString& name)
{
    const TfrxDBDataset* ds = m_report.dataSet(dataSet);
    if (!ds)
        throw ReportError(
            QStringLiteral("Report %1: no data set \"%2\" for the field \"%3\"").arg(m_report.name(), dataSet, name));
    const RowSource* rows = ds->source();
    if (!rows)
        throw ReportError(
            QStringLiteral("Report %1: the data set \"%2\" is bound to no rows").arg(m_report.name(), dataSet));
    const QString key = dataSet + u'\x1f' + name;
    auto it = m_fieldIndex.constFind(key);
    if (it == m_fieldIndex.constEnd())
        it = m_fieldIndex.insert(key, rows->fieldIndex(name));
    if (*it == -1)
        throw ReportError(
            QStringLiteral("Report %1: the data set \"%2\" has no field \"%3\"").arg(m_report.name(), dataSet, name));
    return {rows->value(*it), rows->fieldKind(*it)};
}
