#include "LabelFace.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Wider modules scan no better (a hand scanner's field is a few cm wide)
// and leave less room for the text.
constexpr double kMaxModule = 0.6;
// A linear symbol lower than this is hard to aim at.
constexpr double kMinBarHeight = 4.0;

// Draws text centred in rect, shrunk to fit its width, elided when even the
// smallest size does not.
void drawFitted(QPainter& painter, const QString& text, const QRectF& rect, bool bold)
{
    if (text.isEmpty())
        return;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    const double full = rect.height() * 0.8;
    font.setPixelSize(std::max(1, int(full)));
    double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > rect.width()) {
        font.setPixelSize(std::max(1, int(full * std::max(0.6, rect.width() / width))));
        width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    }
    QString shown = text;
    if (width > rect.width())
        shown = QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, rect.width());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

} // namespace

std::optional<LabelFace> LabelFace::fit(const SymbolGrid& grid, const QSizeF& label, double minModule)
{
    const double pad = std::clamp(std::min(label.width(), label.height()) * 0.05, 0.8, 2.0);
    const double codeHeight = std::clamp(label.height() * 0.13, 2.0, 4.5);
    const double secondHeight = codeHeight * 0.9;
    const double width = label.width() - 2 * pad;
    const QRectF area(pad, pad, width, label.height() - 2 * pad - codeHeight - secondHeight);
    if (area.width() <= 0 || area.height() <= 0)
        return std::nullopt;

    const int quiet = grid.quietZone();
    LabelFace face;
    double symbolHeight = 0;
    if (grid.linear()) {
        face.m_module = std::min(area.width() / (grid.columns() + 2 * quiet), kMaxModule);
        symbolHeight = std::min(area.height(), std::max(kMinBarHeight, label.height() * 0.5));
        if (symbolHeight < kMinBarHeight)
            return std::nullopt;
    } else {
        face.m_module = std::min(
            {area.width() / (grid.columns() + 2 * quiet), area.height() / (grid.rows() + 2 * quiet), kMaxModule});
        symbolHeight = face.m_module * grid.rows();
    }
    if (face.m_module + 1e-9 < minModule)
        return std::nullopt;
    const double symbolWidth = face.m_module * grid.columns();
    // The quiet zone above and below a 2D symbol is kept; a linear one needs
    // none. What the symbol leaves free goes evenly above and below.
    const double zone = grid.linear() ? 0 : face.m_module * quiet;
    const double top = area.top() + zone + (area.height() - symbolHeight - 2 * zone) / 2;
    face.m_symbol = QRectF(area.left() + (area.width() - symbolWidth) / 2, top, symbolWidth, symbolHeight);
    const double textTop = top + symbolHeight + zone;
    face.m_codeLine = QRectF(pad, textTop, width, codeHeight);
    face.m_secondLine = QRectF(pad, textTop + codeHeight, width, secondHeight);
    return face;
}

void LabelFace::paint(QPainter& painter, const SymbolGrid& grid, const LabelItem& item, const QPointF& box,
                      double dotsPerMm) const
{
    const auto dots = [&](const QRectF& r) {
        return QRectF((box.x() + r.x()) * dotsPerMm, (box.y() + r.y()) * dotsPerMm, r.width() * dotsPerMm,
                      r.height() * dotsPerMm);
    };
    // One path of all dark runs, filled once: touching modules merge with
    // no hairline between them.
    QPainterPath dark;
    dark.setFillRule(Qt::WindingFill);
    const double cellHeight = grid.linear() ? m_symbol.height() : m_module;
    for (int r = 0; r < grid.rows() && (r == 0 || !grid.linear()); ++r) {
        for (int c = 0; c < grid.columns();) {
            if (!grid.dark(r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < grid.columns() && grid.dark(r, end))
                ++end;
            dark.addRect(dots(QRectF(m_symbol.left() + c * m_module, m_symbol.top() + r * cellHeight,
                                     (end - c) * m_module, cellHeight)));
            c = end;
        }
    }
    painter.fillPath(dark, Qt::black);
    drawFitted(painter, item.code, dots(m_codeLine), true);
    drawFitted(painter, item.secondLine, dots(m_secondLine), false);
}
