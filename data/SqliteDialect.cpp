#include "SqliteDialect.h"

#include "DeletedOpenFile.h"

#include "DatabaseFile.h"
#include "DbError.h"
#include "FileSystemProbe.h"
#include "SqliteErrorCause.h"
#include "SqliteFunctions.h"
#include "SqliteMaintenance.h"
#include "StoredDeclaration.h"
#include "StoredValue.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QUrl>
#include <sqlite3.h>

namespace {

sqlite3* handleOf(const QSqlDatabase& db)
{
    if (!db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

DbError::Cause causeOfError(const QSqlDatabase& db, const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? sqliteErrorCause(handleOf(db), code) : DbError::Cause::Other;
}

QString run(QSqlDatabase& db, const QString& sql, const QString& path)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw DbError(causeOfError(db, q.lastError()), path, q.lastError().text());
    const QString answer = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return answer;
}

} // namespace

QString SqliteDialect::driverName() const
{
    return QStringLiteral("QSQLITE");
}

void SqliteDialect::open(QSqlDatabase& db, const QString& path, const OpenOptions& options) const
{
    // Nothing reaches the engine before the file is known to be a database
    // the program may write: it would turn an empty file into a database,
    // or leave log files beside one it cannot use.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DatabaseFile::checkOpenable(absolute);
    const bool network = options.fileSystem && options.fileSystem->isNetwork(QFileInfo(absolute).absolutePath());
    const DatabaseFile::Companions companions(absolute);
    try {
        // mode=rw: the program never creates its database.
        QUrl url = QUrl::fromLocalFile(absolute);
        url.setQuery(QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(options.busyTimeoutMs));
        if (!db.open())
            throw DbError(causeOfError(db, db.lastError()), path, db.lastError().text());
        sqlite3* handle = handleOf(db);
        if (!handle || !registerSqliteFunctions(handle))
            throw DbError(DbError::Cause::Other, path, QStringLiteral("cannot register text functions"));
        // Reading the schema first reports a damaged file before anything is written.
        run(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), path);
        // On a network folder the log's shared memory is not shared between
        // computers: the rollback journal is the safe one there.
        const QString wanted = network ? QStringLiteral("delete") : QStringLiteral("wal");
        const QString mode = run(db, QStringLiteral("PRAGMA journal_mode=%1").arg(wanted), path).toLower();
        if (network && mode == u"wal")
            throw DbError(DbError::Cause::Busy, path,
                          QStringLiteral("the database is in use with a write-ahead log, unsafe in a network folder"));
        run(db, QStringLiteral("PRAGMA synchronous=FULL"), path);
    } catch (const DbError&) {
        db.close();
        companions.removeNewOnes();
        throw;
    }
}

JournalMode SqliteDialect::journalMode(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next())
        throw DbError(causeOfError(db, q.lastError()), QString(), q.lastError().text());
    return q.value(0).toString().compare(u"wal", Qt::CaseInsensitive) == 0 ? JournalMode::Wal : JournalMode::Rollback;
}

bool SqliteDialect::checkpoint(const QSqlDatabase& db, const QString& path, int busyTimeoutMs) const
{
    sqlite3* handle = handleOf(db);
    if (!handle)
        throw DbError(DbError::Cause::Other, path, QStringLiteral("the database is not open"));
    return sqlitemaintenance::checkpoint(handle, path, busyTimeoutMs);
}

bool SqliteDialect::logFileLost(const QString& path) const
{
    return openFileDeleted(path + QStringLiteral("-wal"));
}

void SqliteDialect::backup(const QSqlDatabase& db, const QString& path, const QString& target,
                           WorkProgress* progress) const
{
    sqlite3* handle = handleOf(db);
    if (!handle)
        throw DbError(DbError::Cause::Other, path, QStringLiteral("the database is not open"));
    sqlitemaintenance::backup(handle, path, target, progress);
}

DbError::Cause SqliteDialect::causeOf(const QSqlDatabase& db, const QSqlError& error) const
{
    return causeOfError(db, error);
}

QString SqliteDialect::caselessEquals(const QString& column, const QString& value) const
{
    // The text columns are declared NOCASE, which folds ASCII letters and is
    // what their indexes are ordered by; any other letter needs the
    // connection's own collation, read row by row.
    const bool ascii = std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x80; });
    return QStringLiteral("%1 = ? COLLATE %2")
        .arg(quoteIdentifier(column), QLatin1String(ascii ? kDeclaredCaseless : kCaseless));
}

QString SqliteDialect::caselessSame(const QString& left, const QString& right) const
{
    // The declared collation, the one the indexes are ordered by: the codes
    // compared are copies of one another, not typed text.
    return QStringLiteral("%1 = %2 COLLATE %3").arg(left, right, QLatin1String(kDeclaredCaseless));
}

QString SqliteDialect::caselessIn(const QString& column, int count) const
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("%1 COLLATE %2 IN (%3)")
        .arg(quoteIdentifier(column), QLatin1String(kCaseless), marks.join(QLatin1Char(',')));
}

QString SqliteDialect::trimmedCaselessEquals(const QString& column) const
{
    return QStringLiteral("trim(%1, ' '||char(9)||char(10)||char(13)) = ? COLLATE %2")
        .arg(quoteIdentifier(column), QLatin1String(kCaseless));
}

QString SqliteDialect::caselessLike(const QString& column) const
{
    // LIKE is the connection's own, caseless beyond ASCII.
    return quoteIdentifier(column) + QStringLiteral(" LIKE ? ESCAPE '\\'");
}

QString SqliteDialect::missingText(const QString& column) const
{
    // Compared under the column's own collation, the one its index is ordered by.
    const QString c = quoteIdentifier(column);
    return QStringLiteral("(%1 IS NULL OR %1 = '')").arg(c);
}

QString SqliteDialect::columnTypeOf(FieldKind kind) const
{
    switch (kind) {
    case FieldKind::Real:
        return QStringLiteral("REAL");
    case FieldKind::Bool:
        return QStringLiteral("BOOLEAN NOT NULL DEFAULT 0");
    case FieldKind::Date:
        return QStringLiteral("DATE");
    case FieldKind::Time:
        return QStringLiteral("TIME");
    case FieldKind::DateTime:
        return QStringLiteral("DATETIME");
    case FieldKind::Integer:
        return QStringLiteral("INTEGER");
    case FieldKind::Blob:
        return QStringLiteral("BLOB");
    case FieldKind::Text:
        break;
    }
    return QStringLiteral("TEXT COLLATE %1").arg(QLatin1String(kDeclaredCaseless));
}

QString SqliteDialect::autoKey(const QString& column) const
{
    return quoteIdentifier(column) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
}

FieldKind SqliteDialect::kindOfDeclaredType(const QString& declaredType) const
{
    const QString t = declaredType.toUpper();
    if (t.contains(u"BOOL"))
        return FieldKind::Bool;
    if (t.startsWith(u"DATETIME"))
        return FieldKind::DateTime;
    if (t.startsWith(u"DATE"))
        return FieldKind::Date;
    if (t.startsWith(u"TIME"))
        return FieldKind::Time;
    if (t.contains(u"INT"))
        return FieldKind::Integer;
    if (t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"DOUB") || t.contains(u"MONEY"))
        return FieldKind::Real;
    if (t.contains(u"BLOB"))
        return FieldKind::Blob;
    return FieldKind::Text;
}

OrderTerm SqliteDialect::falseFirst(const QString& column) const
{
    return OrderTerm{column, false, {}};
}

OrderTerm SqliteDialect::orderTerm(const QString& column, FieldKind kind, bool descending) const
{
    if (kind == FieldKind::Bool)
        descending = !descending; // true is stored as 1 here, was -1 there
    // Texts sort ignoring letter case beyond ASCII too, by the collation
    // registered on the connection (the schema holds only built-in ones).
    return OrderTerm{column, descending, kind == FieldKind::Text ? QLatin1String(kCaseless) : QString()};
}

QString SqliteDialect::quoteIdentifier(const QString& name) const
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

QStringList SqliteDialect::userTables(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND substr(name,1,7)<>'sqlite_'")))
        throw DbError(q.lastError().text());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QStringList SqliteDialect::indexNames(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index'")))
        throw DbError(q.lastError().text());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<QPair<QString, QString>> SqliteDialect::columns(const QSqlDatabase& db, const QString& table) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
    q.addBindValue(table);
    if (!q.exec())
        throw DbError(q.lastError().text());
    QList<QPair<QString, QString>> result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString()});
    return result;
}

QVariant SqliteDialect::toStorage(FieldKind kind, const QVariant& value) const
{
    return storedValue(kind, value);
}

namespace {

// The collation this program's earlier versions declared its text columns
// with, named as SQLite's own.
QString withStandardCollation(const QString& sql)
{
    return StoredDeclaration(sql).withCollation(QLatin1String(SqliteDialect::kCaseless),
                                                QLatin1String(SqliteDialect::kDeclaredCaseless));
}

QList<QPair<QString, QString>> schemaRows(const QSqlDatabase& db, const QString& sql, const QVariantList& params)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
    QList<QPair<QString, QString>> rows;
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString()});
    return rows;
}

} // namespace

QStringList SqliteDialect::tablesToRedeclare(const QSqlDatabase& db) const
{
    QStringList tables;
    const auto rows = schemaRows(db,
                                 QStringLiteral("SELECT tbl_name, sql FROM sqlite_master "
                                                "WHERE type IN ('table', 'index') AND sql IS NOT NULL "
                                                "AND substr(tbl_name,1,7)<>'sqlite_' ORDER BY rootpage"),
                                 {});
    for (const auto& [table, sql] : rows) {
        if (StoredDeclaration(sql).usesCollation(QLatin1String(kCaseless))
            && !tables.contains(table, Qt::CaseInsensitive))
            tables << table;
    }
    return tables;
}

QList<SqlDialect::BoundStatement> SqliteDialect::redeclaration(const QSqlDatabase& db, const QString& table) const
{
    const auto rows = schemaRows(db,
                                 QStringLiteral("SELECT type, sql FROM sqlite_master WHERE tbl_name = ? "
                                                "AND sql IS NOT NULL ORDER BY type = 'table' DESC, rootpage"),
                                 {table});
    if (rows.isEmpty() || rows.first().first != u"table")
        throw DbError(QStringLiteral("No table %1 to declare again").arg(table));
    const QString staging = QStringLiteral("tooldesk_redeclared_") + table;
    const std::optional<QString> create =
        StoredDeclaration(rows.first().second).withTableName(quoteIdentifier(staging));
    if (!create)
        throw DbError(QStringLiteral("Cannot read the declaration of table %1").arg(table));

    // The copy takes the place of the table; its indexes and triggers are
    // made again afterwards, and the key counter keeps its highest value so
    // no deleted row's number is given out again.
    QList<BoundStatement> statements{
        {withStandardCollation(*create), {}},
        {QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(quoteIdentifier(staging), quoteIdentifier(table)), {}},
    };
    const bool counted =
        !schemaRows(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE name = 'sqlite_sequence'"), {})
             .isEmpty();
    QVariant highest;
    if (counted) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
        q.addBindValue(table);
        if (q.exec() && q.next())
            highest = q.value(0);
    }
    statements.append({QStringLiteral("DROP TABLE %1").arg(quoteIdentifier(table)), {}});
    statements.append(
        {QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoteIdentifier(staging), quoteIdentifier(table)), {}});
    for (qsizetype i = 1; i < rows.size(); ++i)
        statements.append({withStandardCollation(rows.at(i).second), {}});
    if (!highest.isNull()) {
        statements.append({QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {table}});
        statements.append({QStringLiteral("INSERT INTO sqlite_sequence (name, seq) "
                                          "SELECT ?, max(?, coalesce(max(_rowid_), 0)) FROM %1")
                               .arg(quoteIdentifier(table)),
                           {table, highest}});
    }
    return statements;
}
