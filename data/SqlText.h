#pragma once

#include <QString>
#include <QStringList>

// Reading the parts of a statement's text that the data layer needs: which
// table its rows come from, its select list and its ORDER BY.
namespace sqltext {

// The statement with text literals and everything inside parentheses
// blanked, so a subquery's FROM or ORDER BY is not taken for the statement's
// own. Positions are those of the statement.
QString topLevel(const QString& sql);

// The one table a result's rows can be written back to, or empty when the
// rows come from several tables.
QString singleTable(const QString& sql);

// Whether the statement limits its own rows (a LIMIT outside parentheses).
bool hasLimit(const QString& sql);

// Splits a list at its top-level commas; the parts are trimmed.
QStringList splitList(const QString& list);

// A column name as written ("Name", [Name], `Name`, Name, or one of these
// after "Table."), unquoted; empty when text is anything else.
QString columnName(const QString& text);

} // namespace sqltext
