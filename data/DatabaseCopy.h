#pragma once

#include <QList>
#include <QString>

class Connection;
class WorkProgress;

// Moves a store from the embedded file to a server: every table with every
// row (photos included) and the lookup indexes, written into an empty
// database in one transaction, so a failure leaves the server database as
// empty as it was.
class DatabaseCopy
{
public:
    struct TableCount {
        QString table;
        qint64 source = 0;
        qint64 target = 0;
    };

    // Throws DbError: a target that already holds tables is refused.
    // progress gets a stage per table (its name) and its rows copied of all;
    // a cancel there throws WorkCancelled and leaves the target empty.
    static QList<TableCount> copy(Connection& source, Connection& target, WorkProgress* progress = nullptr);
};
