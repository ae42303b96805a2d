#pragma once

#include <QSet>
#include <QString>

class Query;
class QueryModel;

// Title clicks on a grid of a result set: a column's click sorts it
// ascending, its next click descending, and so on, each column on its own
// until the rows are loaded again.
class TitleSort
{
public:
    void toggle(Query& rows, const QueryModel& model, int column);
    // The rows were loaded again: every column starts ascending.
    void clear() { m_ascending.clear(); }

private:
    QSet<QString> m_ascending; // fields whose last click sorted them ascending
};
