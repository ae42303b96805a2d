#pragma once

#include "FieldKind.h"

#include <QVariant>

// A value as the store keeps it for a column of this kind: dates and times
// as ISO texts, yes/no as 0 or 1, numbers typed as text parsed (throws
// DbError for text that is no number), a text never NULL.
QVariant storedValue(FieldKind kind, const QVariant& value);
