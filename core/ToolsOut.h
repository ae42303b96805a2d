#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariantList>

class Connection;
class SqlDialect;

// One tool that is out: who holds it and since when, from the tool's last
// issue row in the journal, and when it is due back.
struct OutTool {
    qint64 key = 0; // the tool's row
    QString code;
    QString name;
    QString type;
    QString holderKey; // the holder's Users key, as the tool keeps it
    QString holder;
    QString department;
    QDate issuedOn; // invalid when the journal has no issue of the tool
    QTime issuedAt;
    QDate due; // invalid: no loan period at that issue

    bool overdue(const QDate& today) const { return due.isValid() && due < today; }
    // Whole days since the issue; 0 when the issue is unknown.
    int daysOut(const QDate& today) const { return issuedOn.isValid() ? int(issuedOn.daysTo(today)) : 0; }
};

// Every tool that is out, as the tools-out page, its report and the desk's
// overdue line list them.
namespace ToolsOut {

// The columns of the list, as the page, the report and the CSV file show them.
enum Column { Code, Name, Type, Holder, Department, IssuedAt, DaysOut, Due, ColumnCount };
QString columnTitle(int column, bool russian);
// A column's text for a tool: dates as dd.MM.yyyy, empty where unknown.
QString cellText(const OutTool& tool, int column, const QDate& today);

// The statement: every tool not in the store (only those held by
// holderKey when given) with its last issue row's date, time and due date
// beside it. Binds statementParams(holderKey).
QString statement(const SqlDialect& d, bool oneHolder);
QVariantList statementParams(const QString& holderKey);

// The tools out, in listOrder, with holders' names and departments.
// Throws DbError.
QList<OutTool> load(Connection& db, const QDate& today, const QString& holderKey = {});

// Overdue tools first, the longest overdue at the top; then the others,
// the longest out first; then by code.
void listOrder(QList<OutTool>& tools, const QDate& today);

// Only the overdue ones, in the order given.
QList<OutTool> overdueOnly(const QList<OutTool>& tools, const QDate& today);

// True when the search text is part of the code, the holder or the
// department, ignoring letter case; an empty text matches every tool.
bool matches(const OutTool& tool, const QString& search);

} // namespace ToolsOut
