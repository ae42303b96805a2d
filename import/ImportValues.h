#pragma once

#include <QDate>
#include <QString>
#include <optional>

// A date as spreadsheets write it here: 2024-03-15 (also with a time),
// 15.03.2024, 15.03.24, 15/03/2024. Nothing when it is no real date.
std::optional<QDate> importDate(const QString& text);

// An amount with ',' or '.' as decimal mark, blanks (also non-breaking) as
// digit groups and an optional rouble sign or "руб."; nothing when it is no
// number or negative.
std::optional<double> importMoney(const QString& text);
