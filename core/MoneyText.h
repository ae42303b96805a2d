#pragma once

#include <QString>

// An amount of money as the interface language writes it: digit groups, two
// decimals and the rouble sign ("1 234,50 ₽" in Russian, "₽1,234.50" in
// English). The store's prices are roubles whatever the language.
QString moneyText(double amount, bool russian);
