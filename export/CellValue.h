#pragma once

#include <QDate>
#include <QVariant>
#include <optional>

// A stored value as a spreadsheet cell takes it.

// The number of a stored number or amount; none for an empty value or a
// text that is no number (written as the text it is).
std::optional<double> cellNumber(const QVariant& stored);

// The day of a stored date (ISO text, a time after it ignored); invalid for
// an empty value or a text that is no date.
QDate cellDate(const QVariant& stored);
