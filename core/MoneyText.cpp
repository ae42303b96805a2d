#include "MoneyText.h"

#include <QLocale>

QString moneyText(double amount, bool russian)
{
    const QLocale roubles(QLocale::Russian, QLocale::Russia);
    const QLocale locale = russian ? roubles : QLocale(QLocale::English, QLocale::UnitedStates);
    return locale.toCurrencyString(amount, roubles.currencySymbol(), 2);
}
