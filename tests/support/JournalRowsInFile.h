#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The journal rows a copy of the database file holds by itself, read by
// SQLite as any other program would; -1 when it cannot be read.
inline int journalRowsIn(const QString& file)
{
    const QString name = QStringLiteral("copy-%1").arg(quintptr(&file));
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM History"), db);
            rows = q.next() ? q.value(0).toInt() : -1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}
