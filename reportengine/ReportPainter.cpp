#include "ReportPainter.h"

#include "PreparedReport.h"
#include "ReportBuilder.h"
#include "ReportUnits.h"
#include "TextMeasurer.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr double kFrameWidth = 1; // report units
}

ReportPainter::ReportPainter(const PreparedReport& report)
    : m_report(report)
{
    for (const MemoStyle& s : report.styles()) {
        m_fonts.push_back(TextMeasurer::fontOf(s));
        m_metrics.emplace_back(m_fonts.back());
    }
}

void ReportPainter::paintPage(QPainter& painter, int page, double dpiX, double dpiY) const
{
    if (page < 0 || page >= static_cast<int>(m_report.pages.size()))
        return;
    painter.save();
    painter.scale(dpiX / ReportUnits::kDpi, dpiY / ReportUnits::kDpi);
    // Flat caps: the PDF engine strokes only such a pen natively; any other
    // cap it turns into an outline path per line, many times the size and
    // the time. Open frame lines get the square cap's overhang by hand.
    QPen frame(Qt::black);
    frame.setWidthF(kFrameWidth);
    frame.setCapStyle(Qt::FlatCap);
    frame.setJoinStyle(Qt::MiterJoin);
    // Black lines and black text: one pen for both.
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    constexpr double gx = ReportBuilder::kGapX;
    constexpr double gy = ReportBuilder::kGapY;
    int current = -1;
    for (const PreparedBand& band : m_report.pages[static_cast<size_t>(page)].bands) {
        for (const PreparedItem& item : band.items) {
            const MemoStyle& s = m_report.style(item.style);
            const QRectF& r = item.rect;
            if (s.frames == MemoStyle::AllSides) {
                painter.drawRect(r); // one path instead of four: smaller files, faster
            } else if (s.frames != MemoStyle::NoFrame) {
                // Half a line beyond each end, so that the lines of a corner meet.
                const QRectF o = r.adjusted(-kFrameWidth / 2, -kFrameWidth / 2, kFrameWidth / 2, kFrameWidth / 2);
                if (s.frames & MemoStyle::Top)
                    painter.drawLine(QPointF(o.left(), r.top()), QPointF(o.right(), r.top()));
                if (s.frames & MemoStyle::Bottom)
                    painter.drawLine(QPointF(o.left(), r.bottom()), QPointF(o.right(), r.bottom()));
                if (s.frames & MemoStyle::Left)
                    painter.drawLine(QPointF(r.left(), o.top()), QPointF(r.left(), o.bottom()));
                if (s.frames & MemoStyle::Right)
                    painter.drawLine(QPointF(r.right(), o.top()), QPointF(r.right(), o.bottom()));
            }
            if (item.lines.isEmpty())
                continue;
            if (current != item.style) {
                current = item.style;
                painter.setFont(m_fonts[static_cast<size_t>(current)]);
            }
            const QFontMetricsF& fm = m_metrics[static_cast<size_t>(item.style)];
            const double spacing = fm.lineSpacing();
            // Lines below the memo's foot are not printed; the first always is.
            const double room = r.height() - 2 * gy;
            const auto shown = std::min(item.lines.size(),
                                        std::max<qsizetype>(1, static_cast<qsizetype>((room + 0.5) / spacing)));
            const double block = shown * spacing;
            double y = r.top() + gy;
            if (s.vAlign == MemoStyle::VAlign::Center)
                y = std::max(y, r.top() + (r.height() - block) / 2);
            const bool clip = block > room + 0.5; // one line taller than its memo
            if (clip) {
                painter.save();
                painter.setClipRect(r);
            }
            // One line at the left that does not fill its memo is where it
            // is whatever its width: not measured again (text shaping is
            // the dearest part of a page).
            const bool measure = item.lines.size() > 1 || item.fillsWidth || s.hAlign != MemoStyle::HAlign::Left;
            for (qsizetype i = 0; i < shown; ++i) {
                const QString& line = item.lines.at(i);
                double x = r.left() + gx;
                const double w = measure ? fm.horizontalAdvance(line) : 0;
                if (w > r.width() - 2 * gx)
                    x = r.left() + (r.width() - w) / 2; // fills the box: padding shared out
                else if (s.hAlign == MemoStyle::HAlign::Right)
                    x = r.right() - gx - w;
                else if (s.hAlign == MemoStyle::HAlign::Center)
                    x = r.left() + (r.width() - w) / 2;
                painter.drawText(QPointF(x, y + fm.ascent()), line);
                y += spacing;
            }
            if (clip) {
                painter.restore();
                current = -1; // restore() brought back the painter's old font
            }
        }
    }
    painter.restore();
}
