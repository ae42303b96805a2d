#include "DatabaseCopy.h"

#include "Connection.h"
#include "DbError.h"
#include "Schema.h"
#include "WorkCancelled.h"

#include <algorithm>

namespace {

const QString kKey = QStringLiteral("ID");
constexpr qint64 kRowsPerProgress = 500;

qint64 rowCount(Connection& db, const QString& table)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(db.dialect().quoteIdentifier(table))).toLongLong();
}

bool isKey(const TableColumn& column)
{
    return column.name.compare(kKey, Qt::CaseInsensitive) == 0;
}

void createTable(Connection& target, const QString& table, const QList<TableColumn>& columns)
{
    const SqlDialect& d = target.dialect();
    QStringList defs;
    for (const TableColumn& c : columns)
        defs << (isKey(c) ? d.autoKey(c.name) : d.quoteIdentifier(c.name) + u' ' + d.columnTypeOf(c.kind));
    target.changeSchema(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(d.quoteIdentifier(table), defs.join(QStringLiteral(", "))));
}

qint64 copyRows(Connection& source, Connection& target, const QString& table, const QList<TableColumn>& columns,
                WorkProgress* progress)
{
    const qint64 total = progress ? rowCount(source, table) : 0;
    if (progress)
        progress->setStage(table);
    const SqlDialect& from = source.dialect();
    const SqlDialect& to = target.dialect();
    QStringList read, written, marks;
    for (const TableColumn& c : columns) {
        read << from.quoteIdentifier(c.name);
        written << to.quoteIdentifier(c.name);
        marks << QStringLiteral("?");
    }
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(to.quoteIdentifier(table), written.join(u','), marks.join(u','));
    Statement rows = source.run(QStringLiteral("SELECT %1 FROM %2").arg(read.join(u','), from.quoteIdentifier(table)));
    qint64 copied = 0;
    while (rows->next()) {
        QVariantList values;
        values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            values << to.toStorage(columns.at(i).kind, from.fromEngine(rows->value(i)));
        target.exec(insert, values);
        if (++copied % kRowsPerProgress == 0)
            advanceOrCancel(progress, copied, total);
    }
    advanceOrCancel(progress, copied, total);
    return copied;
}

} // namespace

QList<DatabaseCopy::TableCount> DatabaseCopy::copy(Connection& source, Connection& target, WorkProgress* progress)
{
    const QStringList existing = target.userTables();
    if (!existing.isEmpty())
        throw DbError(DbError::Cause::Other, target.path(),
                      QStringLiteral("the database already holds tables (%1): the copy goes only into an empty one")
                          .arg(existing.join(QStringLiteral(", "))));
    QStringList tables;
    for (const QString& table : source.userTables()) {
        if (!table.startsWith(u"sqlite_", Qt::CaseInsensitive)) // the engine's own
            tables << table;
    }

    QList<TableCount> counts;
    Connection::Transaction transaction(target);
    for (const QString& table : std::as_const(tables)) {
        const QList<TableColumn> columns = source.columns(table);
        createTable(target, table, columns);
        TableCount count{table, 0, copyRows(source, target, table, columns, progress)};
        const bool keyed = std::any_of(columns.cbegin(), columns.cend(), isKey);
        const QString counter = target.dialect().keyCounterAfterCopy(table, kKey);
        if (keyed && !counter.isEmpty())
            target.command(counter);
        count.source = rowCount(source, table);
        count.target = rowCount(target, table);
        counts << count;
    }
    for (const Schema::Index& index : Schema::indexes(target.dialect())) {
        // An older file may lack a column an index is on: the program's
        // first start on the server adds both.
        target.command(QStringLiteral("SAVEPOINT copy_index"));
        try {
            target.changeSchema(index.statement);
            target.command(QStringLiteral("RELEASE SAVEPOINT copy_index"));
        } catch (const DbError&) {
            target.command(QStringLiteral("ROLLBACK TO SAVEPOINT copy_index"));
        }
    }
    for (const TableCount& c : std::as_const(counts)) {
        if (c.source != c.target)
            throw DbError(
                DbError::Cause::Other, target.path(),
                QStringLiteral("table %1: %2 rows read, %3 written").arg(c.table).arg(c.source).arg(c.target));
    }
    transaction.commit();
    // The server plans the first statements with figures of the copied rows
    // rather than of empty tables.
    target.command(QStringLiteral("ANALYZE"));
    target.schemaChanged();
    return counts;
}
