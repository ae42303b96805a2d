#pragma once

#include "LabelItem.h"

#include <QList>
#include <QStringList>

class Connection;
struct Messages;

// The labels of the registers: with no codes given, every row in the order
// it was added (rows without a code get no label); with codes, those rows
// in the order given. Throws LabelError naming a code that is not found.
namespace LabelItems {

// A tool's code, its name (or its type when it has no name).
QList<LabelItem> tools(Connection& db, const QStringList& codes, const Messages& texts);
// A worker's badge: the code and the name.
QList<LabelItem> recipients(Connection& db, const QStringList& codes, const Messages& texts);
// A place: prefix and the row's key ("PL-12"), and the place's name. codes
// are such label codes.
QList<LabelItem> places(Connection& db, const QString& prefix, const QStringList& codes, const Messages& texts);

} // namespace LabelItems
