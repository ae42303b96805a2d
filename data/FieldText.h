#pragma once

#include "FieldKind.h"

#include <QString>
#include <QVariant>

// The text a stored value shows as, the same in grids, labels and edit
// boxes: dates as dd.MM.yyyy, times as hh:mm:ss, money with two decimals.
// format replaces the date or time pattern; a value that does not parse
// shows as stored.
QString fieldText(const QVariant& value, FieldKind kind, const QString& format = {});
