#include "MoneyText.h"

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

QLocale moneyConvention(bool russian)
{
    return russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale(QLocale::English, QLocale::UnitedStates);
}

QString amountText(double amount, const QLocale& convention)
{
    return convention.toString(amount, 'f', 2);
}

QString amountText(double amount, bool russian)
{
    return amountText(amount, moneyConvention(russian));
}

QString moneyText(double amount, bool russian)
{
    const QLocale roubles = moneyConvention(true);
    return moneyConvention(russian).toCurrencyString(amount, roubles.currencySymbol(), 2);
}

QString plainAmountText(double amount, bool russian)
{
    QLocale convention = moneyConvention(russian);
    convention.setNumberOptions(QLocale::OmitGroupSeparator);
    return convention.toString(amount, 'f', QLocale::FloatingPointShortest);
}

qint64 roundedPrice(double price)
{
    if (!std::isfinite(price))
        return 0;
    if (std::fabs(price) < FixedPointLimit)
        return roundScaledHalfEven(std::llround(price * Scale));
    // Too large for four decimals; nearbyint rounds halves to even.
    return static_cast<qint64>(std::nearbyint(std::clamp(price, -PriceLimit, PriceLimit)));
}
