#pragma once

#include "core/SearchPattern.h"
#include "data/Select.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class SqlDialect;

// The identities of a work type's stored tool list: quoted texts joined by
// commas ("'T1','T''2'"). Unquoted items are taken trimmed as they stand.
QStringList parseToolList(const QString& stored);

// The tool list, with every search text and identity bound, in order.
// No work type: workTypeChosen false. A chosen work type with an empty list
// gives a statement that lists nothing.
Select toolSearchStatement(const QString& idText, const QString& typeText, bool workTypeChosen,
                           const QStringList& identities, const SqlDialect& dialect, const OrderTerm& order);

// Counts the tools whose code holds idText, written-off ones included; the
// type text and the work type do not narrow it.
Select toolCountStatement(const SqlDialect& dialect, const QString& idText);
