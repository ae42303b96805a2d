#include "ActNumbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Prices are money with four decimals: round that amount, not the binary
// double, so a price entered as x.5 is always an exact half.
constexpr qint64 Scale = 10000;
constexpr double FixedPointLimit = 1e14;
// Far beyond any price; keeps a sum of many such prices inside 64 bits.
constexpr double PriceLimit = 1e15;

qint64 roundScaledHalfEven(qint64 scaled)
{
    qint64 whole = scaled / Scale;
    qint64 rest = scaled % Scale;
    if (rest < 0) { // floor division for negative amounts
        rest += Scale;
        --whole;
    }
    if (rest > Scale / 2 || (rest == Scale / 2 && whole % 2 != 0))
        ++whole;
    return whole;
}

} // namespace

qint64 roundedPrice(double price)
{
    if (!std::isfinite(price))
        return 0;
    if (std::fabs(price) < FixedPointLimit)
        return roundScaledHalfEven(std::llround(price * Scale));
    // Too large for four decimals; nearbyint rounds halves to even.
    return static_cast<qint64>(std::nearbyint(std::clamp(price, -PriceLimit, PriceLimit)));
}

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
    if (!price)
        return {};
    QLocale locale = russian ? QLocale(QLocale::Russian, QLocale::Russia)
                             : QLocale(QLocale::English, QLocale::UnitedStates);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(*price, 'f', QLocale::FloatingPointShortest);
}

QString actTotalText(qint64 total)
{
    return QString::number(total);
}
