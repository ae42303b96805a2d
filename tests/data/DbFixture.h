#pragma once

#include "data/Connection.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "tests/support/TestData.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>

// Small helpers shared by the data tests: a copy of the delivered database,
// the start-up upgrade as the main window runs it, and generated rows.
namespace dbfixture {

// The main window's two result sets, opened as at start-up.
struct MainQueries {
    explicit MainQueries(Connection& db)
        : tools(db)
        , history(db)
    {
        tools.setSql(QStringLiteral("SELECT * FROM Tools ORDER BY ")
                     + db.dialect().falseFirst(QStringLiteral("Passed")));
        tools.open();
        history.setSql(Schema::historySql());
        history.open();
    }
    Query tools;
    Query history;
};

// Runs the whole upgrade; returns how often the callback was called.
inline int upgrade(Connection& db)
{
    MainQueries q(db);
    int calls = 0;
    Schema(db, q.tools, q.history, [&calls] { ++calls; }).upgrade();
    return calls;
}

inline QString toolCode(int i)
{
    return QStringLiteral("T%1").arg(i, 5, 10, QLatin1Char('0'));
}

// Tools T00001..Tn; every third one is issued. Works on the delivered layout.
inline void addTools(Connection& db, int count, int firstNumber = 1)
{
    Connection::Transaction t(db);
    for (int i = firstNumber; i < firstNumber + count; ++i) {
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Model, Passed, Date_Purchase) VALUES (?, ?, ?, ?)"),
                {toolCode(i), QStringLiteral("Model %1").arg(i), i % 3 == 0 ? 1 : 0,
                 QDate(2020, 1, 1).addDays(i).toString(Qt::ISODate)});
    }
    t.commit();
}

// The schema text, to compare a database before and after a step.
inline QStringList masterText(Connection& db)
{
    QStringList rows;
    QSqlQuery q(db.database());
    q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"));
    while (q.next())
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString());
    return rows;
}

inline QStringList columnNames(Connection& db, const QString& table)
{
    QStringList names;
    for (const TableColumn& c : db.columns(table))
        names << c.name;
    return names;
}

} // namespace dbfixture
