#include "CellValue.h"

#include <QString>
#include <cmath>

std::optional<double> cellNumber(const QVariant& stored)
{
    if (stored.isNull())
        return std::nullopt;
    const QString text = stored.toString().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QDate cellDate(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    return QDate::fromString(stored.toString().trimmed().left(10), Qt::ISODate);
}
