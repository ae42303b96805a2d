#include "ActNumbers.h"

qint64 actTotal(const QList<ActTool>& tools)
{
    qint64 total = 0;
    for (const ActTool& tool : tools) {
        if (tool.price)
            total += roundedPrice(*tool.price);
    }
    return total;
}

QString actPriceText(const std::optional<double>& price, bool russian)
{
    return price ? plainAmountText(*price, russian) : QString();
}

QString actTotalText(qint64 total)
{
    return QString::number(total);
}

QString actDateText(const QDate& date, bool russian)
{
    if (!date.isValid())
        return {};
    return date.toString(russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/dd/yyyy"));
}
