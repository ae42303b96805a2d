#pragma once

#include "DisplayFormat.h"

#include "data/FieldKind.h"

#include <QString>
#include <QVariant>

// The printed text of a field's value: as the grids show it (dates
// dd.MM.yyyy, money with two decimals), or in a display format's own date
// or time pattern.
namespace ValueText {

QString format(const QVariant& value, FieldKind kind, const DisplayFormat& format = {});
// A text that reads as the number 0, which a hide-zeros memo leaves empty.
bool isZero(const QString& text);

} // namespace ValueText
