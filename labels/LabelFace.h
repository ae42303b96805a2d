#pragma once

#include "LabelItem.h"
#include "SymbolGrid.h"

#include <QRectF>

class QPainter;

// One label's drawing inside its box, in mm from the box's top left: the
// symbol with its quiet zones, the code in plain text under it, the second
// line under that.
class LabelFace
{
public:
    // Nothing when the symbol does not fit the label with modules of at
    // least minModule mm.
    static std::optional<LabelFace> fit(const SymbolGrid& grid, const QSizeF& label, double minModule);

    double module() const { return m_module; }
    // The symbol's dark and light modules, without the quiet zones.
    const QRectF& symbol() const { return m_symbol; }
    const QRectF& codeLine() const { return m_codeLine; }
    const QRectF& secondLine() const { return m_secondLine; }

    // Draws at box (mm) on a painter whose units are dotsPerMm a millimetre.
    void paint(QPainter& painter, const SymbolGrid& grid, const LabelItem& item, const QPointF& box,
               double dotsPerMm) const;

private:
    double m_module = 0;
    QRectF m_symbol;
    QRectF m_codeLine;
    QRectF m_secondLine;
};
