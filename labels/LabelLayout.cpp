#include "LabelLayout.h"

namespace {

QString mm(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QRectF LabelLayout::box(int slot) const
{
    const int column = slot % columns;
    const int row = slot / columns;
    return {QPointF(marginLeft + column * (label.width() + gapAcross), marginTop + row * (label.height() + gapDown)),
            label};
}

bool LabelLayout::fitsPage() const
{
    // A hundredth of a millimetre for sizes added up from decimals.
    constexpr double slack = 0.01;
    const QRectF last = box(perPage() - 1);
    return marginLeft >= 0 && marginTop >= 0 && last.right() <= page.width() + slack
        && last.bottom() <= page.height() + slack;
}

QString LabelLayout::describe() const
{
    return QStringLiteral("%1 x %2 mm, %3 x %4, %5 x %6 mm")
        .arg(mm(label.width()), mm(label.height()))
        .arg(columns)
        .arg(rows)
        .arg(mm(page.width()), mm(page.height()));
}
