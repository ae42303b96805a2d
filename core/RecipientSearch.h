#pragma once

#include "data/Select.h"

#include <QString>
#include <QVariantList>

class SqlDialect;

// Recipients whose code holds idText and whose name holds nameText, anywhere,
// letter case ignored and '%', '_' taken literally; a recipient without a
// name matches any name text. Rows in the store's order.
Select recipientSearchStatement(const SqlDialect& dialect, const QString& idText, const QString& nameText);

// Counts the recipients whose code holds idText; the name does not narrow it.
Select recipientCountStatement(const SqlDialect& dialect, const QString& idText);
