#pragma once

#include <QLocale>
#include <QString>

// Every amount of money the program writes comes from here, so that one
// document never mixes "1,500.00" and "1 500,00". The store's prices are
// roubles whatever the language.

// The number convention of the interface language: Russian or US English.
QLocale moneyConvention(bool russian);

// Digit groups and two decimals: "1 234,50" in Russian, "1,234.50" in
// English. Not finite shows as the convention writes it.
QString amountText(double amount, const QLocale& convention);
QString amountText(double amount, bool russian);

// The same with the rouble sign: "1 234,50 ₽" in Russian, "₽1,234.50" in
// English.
QString moneyText(double amount, bool russian);

// The amount as stored, with the convention's decimal mark and no digit
// groups or padding: "10,5" in Russian, "10.5" in English.
QString plainAmountText(double amount, bool russian);

// A price rounded to a whole number, halves to the even neighbour
// (10.5 -> 10, 11.5 -> 12). Not finite gives 0.
qint64 roundedPrice(double price);
