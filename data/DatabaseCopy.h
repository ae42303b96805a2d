#pragma once

#include <QList>
#include <QString>

class Connection;

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
    static QList<TableCount> copy(Connection& source, Connection& target);
};
