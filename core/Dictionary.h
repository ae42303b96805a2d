#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The three dictionaries offered for tool fields: names, places, tool types.
enum class DictionaryKind { Naim, Mesto, Types };

// The kind's table: NAIMENOVANIYA, MESTO or TOOLTYPES. Fixed here, never
// taken from typed text.
QString dictionaryTable(DictionaryKind kind);

// Every entry of the kind's table, in the table's order.
QStringList dictionaryEntries(Connection& connection, DictionaryKind kind);
