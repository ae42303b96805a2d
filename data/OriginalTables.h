#pragma once

#include <QStringList>

class Connection;

// Creates the five tables of the first release in their original layout
// (without what the start-up upgrade adds), in one transaction: a failure
// leaves no table. The delivered database and an empty server database start
// from them and are then brought up to date; tests keep them as the oldest
// file the upgrade must handle.
void createOriginalTables(Connection& connection);

// Which of those five tables, which every database of the program holds,
// are not among tables (letter case aside).
QStringList missingOriginalTables(const QStringList& tables);
