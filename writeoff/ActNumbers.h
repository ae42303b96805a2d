#pragma once

#include "ActTool.h"

#include <QList>
#include <QString>

#include <optional>

// A price rounded to a whole number, halves to the even neighbour
// (10.5 -> 10, 11.5 -> 12). Not finite gives 0.
qint64 roundedPrice(double price);

// The sum of the tools' rounded prices; a tool without a price adds 0.
qint64 actTotal(const QList<ActTool>& tools);

// The price as stored, in the number format of the interface language
// ("10,5" in Russian, "10.5" in English), without digit grouping.
// Empty for a tool without a price.
QString actPriceText(const std::optional<double>& price, bool russian);

// The total as a plain number: digits, a minus sign when negative.
QString actTotalText(qint64 total);
