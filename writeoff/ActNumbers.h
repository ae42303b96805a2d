#pragma once

#include "ActTool.h"

#include "data/MoneyText.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The sum of the tools' prices each rounded by roundedPrice; a tool without a price adds 0.
qint64 actTotal(const QList<ActTool>& tools);

// The price as stored, in the number format of the interface language
// ("10,5" in Russian, "10.5" in English), without digit grouping.
// Empty for a tool without a price.
QString actPriceText(const std::optional<double>& price, bool russian);

// The act's write-off date as the interface language writes dates:
// "10.12.2026" in Russian, "12/10/2026" in English; empty when not valid.
QString actDateText(const QDate& date, bool russian);

// The total as a plain number: digits, a minus sign when negative.
QString actTotalText(qint64 total);
