#pragma once

#include <QDate>
#include <QVariant>

class Connection;
class Query;

// How long an issued tool may stay out: the tool's own period, else its
// type's in the types dictionary; without either it has no due date. The
// due date is fixed when the tool is issued, so a period changed later
// moves only later issues.
namespace LoanPeriod {

// The due date of an issue on issued: toolDays (empty: none set for the
// tool) before typeDays. A period of 0 days, or none at all, gives no date
// (invalid); a tool's 0 keeps its type's period from it.
QDate dueDate(const QDate& issued, const QVariant& toolDays, const QVariant& typeDays);

// The period set for a tool type in the types dictionary, the name
// compared ignoring letter case; empty when the type has none or is not
// there. Throws DbError.
QVariant typeDays(Connection& db, const QString& toolType);

// The due date of issuing the current row of tool on issued. Throws DbError.
QDate dueDate(Connection& db, const Query& tool, const QDate& issued);

// A stored period as days; empty for an empty or unreadable value.
QVariant days(const QVariant& stored);

} // namespace LoanPeriod
