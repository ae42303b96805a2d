#include "PostgresDialect.h"

#include "DbError.h"
#include "StoredValue.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>

#include <pwd.h>
#include <unistd.h>

namespace {

QString runScalar(QSqlDatabase& db, const QString& sql, const QString& where)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw DbError(PostgresDialect::causeOfState(q.lastError().nativeErrorCode(), q.lastError().text()), where,
                      q.lastError().text());
    const QString answer = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return answer;
}

} // namespace

PostgresDialect::PostgresDialect(ConnectionDescription server)
    : m_server(std::move(server))
{
}

QString PostgresDialect::driverName() const
{
    return QStringLiteral("QPSQL");
}

void PostgresDialect::open(QSqlDatabase& db, const QString&, const OpenOptions& options) const
{
    const QString where = m_server.displayName();
    db.setHostName(m_server.host);
    db.setPort(m_server.port);
    db.setDatabaseName(m_server.name);
    db.setUserName(m_server.user);
    // No password here: libpq reads ~/.pgpass, PGPASSFILE or a service file.
    // The desk waits on the window thread: a server that does not answer
    // gives up the connecting after a few seconds, and a link that goes dead
    // under a statement after some more, instead of hanging the window.
    QStringList connectOptions{QStringLiteral("connect_timeout=3"),        QStringLiteral("keepalives=1"),
                               QStringLiteral("keepalives_idle=10"),       QStringLiteral("keepalives_interval=3"),
                               QStringLiteral("keepalives_count=3"),       QStringLiteral("tcp_user_timeout=10000"),
                               QStringLiteral("application_name=tooldesk")};
    if (!m_server.sslMode.isEmpty())
        connectOptions << QStringLiteral("sslmode=") + m_server.sslMode;
    db.setConnectOptions(connectOptions.join(u';'));
    if (!db.open()) {
        const QString text = db.lastError().text();
        if (text.contains(u"no password supplied"))
            throw DbError(DbError::Cause::NoPassword, where, text, passwordFile());
        throw DbError(DbError::Cause::ServerUnreachable, where, text);
    }
    // A desk waiting for a tool another desk is recording gives up as busy
    // instead of hanging.
    runScalar(db, QStringLiteral("SET lock_timeout = %1").arg(options.busyTimeoutMs), where);
    runScalar(db, QStringLiteral("SET client_min_messages = error"), where);
    if (runScalar(db, QStringLiteral("SELECT count(*) FROM pg_collation WHERE collname = 'und-x-icu'"), where) != u"1")
        throw DbError(DbError::Cause::Other, where,
                      QStringLiteral("the server has no ICU collation \"und-x-icu\" (PostgreSQL built without ICU)"));
}

JournalMode PostgresDialect::journalMode(const QSqlDatabase&) const
{
    return JournalMode::Wal; // the server's own write-ahead log
}

bool PostgresDialect::checkpoint(const QSqlDatabase&, const QString&, int) const
{
    return true; // the server keeps its files itself
}

void PostgresDialect::backup(const QSqlDatabase&, const QString& path, const QString&, WorkProgress*) const
{
    throw DbError(DbError::Cause::Other, path,
                  QStringLiteral("a database on a server is backed up on the server (pg_dump)"));
}

DbError::Cause PostgresDialect::causeOfState(const QString& sqlState, const QString& text)
{
    if (sqlState.startsWith(u"08") || sqlState == u"57P01" || sqlState == u"57P02" || sqlState == u"57P03")
        return DbError::Cause::ConnectionLost;
    if (sqlState.startsWith(u"28") || sqlState == u"3D000")
        return DbError::Cause::ServerUnreachable;
    if (sqlState == u"55P03" || sqlState == u"40P01" || sqlState == u"40001" || sqlState == u"57014")
        return DbError::Cause::Busy;
    if (sqlState == u"53100")
        return DbError::Cause::DiskFull;
    if (sqlState == u"42501" || sqlState == u"25006")
        return DbError::Cause::PermissionDenied;
    // libpq reports a dropped connection without a state.
    if (sqlState.isEmpty()
        && (text.contains(u"server closed the connection") || text.contains(u"no connection to the server")
            || text.contains(u"terminating connection") || text.contains(u"connection to server")
            || text.contains(u"could not send data") || text.contains(u"could not receive data")))
        return DbError::Cause::ConnectionLost;
    return DbError::Cause::Other;
}

QString PostgresDialect::passwordFile()
{
    const QString named = qEnvironmentVariable("PGPASSFILE");
    if (!named.isEmpty())
        return named;
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        if (const passwd* user = getpwuid(geteuid()))
            home = QFile::decodeName(user->pw_dir);
    }
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral(".pgpass"));
}

DbError::Cause PostgresDialect::causeOf(const QSqlDatabase& db, const QSqlError& error) const
{
    const DbError::Cause cause = causeOfState(error.nativeErrorCode(), error.text());
    if (cause == DbError::Cause::Other && !db.isOpen())
        return DbError::Cause::ConnectionLost;
    return cause;
}

QString PostgresDialect::columnTypeOf(FieldKind kind) const
{
    switch (kind) {
    case FieldKind::Real:
        return QStringLiteral("double precision");
    case FieldKind::Bool:
        return QStringLiteral("boolean NOT NULL DEFAULT FALSE");
    case FieldKind::Date:
        return QStringLiteral("date");
    case FieldKind::Time:
        return QStringLiteral("time(0)");
    case FieldKind::DateTime:
        return QStringLiteral("timestamp(0)");
    case FieldKind::Integer:
        return QStringLiteral("integer");
    case FieldKind::Blob:
        return QStringLiteral("bytea");
    case FieldKind::Text:
        break;
    }
    return QStringLiteral("text");
}

QString PostgresDialect::autoKey(const QString& column) const
{
    // BY DEFAULT: a moved site keeps its keys.
    return quoteIdentifier(column) + QStringLiteral(" integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
}

FieldKind PostgresDialect::kindOfDeclaredType(const QString& declaredType) const
{
    const QString t = declaredType.toLower();
    if (t == u"boolean")
        return FieldKind::Bool;
    if (t.startsWith(u"timestamp"))
        return FieldKind::DateTime;
    if (t == u"date")
        return FieldKind::Date;
    if (t.startsWith(u"time"))
        return FieldKind::Time;
    if (t == u"integer" || t == u"smallint" || t == u"bigint")
        return FieldKind::Integer;
    if (t == u"double precision" || t == u"real" || t == u"numeric")
        return FieldKind::Real;
    if (t == u"bytea")
        return FieldKind::Blob;
    return FieldKind::Text;
}

OrderTerm PostgresDialect::falseFirst(const QString& column) const
{
    return OrderTerm{column, false, {}}; // FALSE sorts before TRUE
}

OrderTerm PostgresDialect::orderTerm(const QString& column, FieldKind kind, bool descending) const
{
    if (kind == FieldKind::Bool)
        descending = !descending; // true sorts above false here, was -1 there
    return OrderTerm{column, descending, kind == FieldKind::Text ? QLatin1String(kIcu) : QString()};
}

QString PostgresDialect::folded(const QString& expression) const
{
    return QStringLiteral("lower(%1 COLLATE %2)").arg(expression, QLatin1String(kIcu));
}

QString PostgresDialect::caselessEquals(const QString& column, const QString&) const
{
    return folded(quoteIdentifier(column)) + QStringLiteral(" = ") + folded(QStringLiteral("CAST(? AS text)"));
}

QString PostgresDialect::caselessSame(const QString& left, const QString& right) const
{
    return folded(left) + QStringLiteral(" = ") + folded(right);
}

QString PostgresDialect::caselessIn(const QString& column, int count) const
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << folded(QStringLiteral("CAST(? AS text)"));
    return folded(quoteIdentifier(column)) + QStringLiteral(" IN (") + marks.join(u',') + u')';
}

QString PostgresDialect::trimmedCaselessEquals(const QString& column) const
{
    return folded(QStringLiteral("btrim(%1, ' ' || chr(9) || chr(10) || chr(13))").arg(quoteIdentifier(column)))
        + QStringLiteral(" = ") + folded(QStringLiteral("CAST(? AS text)"));
}

QString PostgresDialect::caselessLike(const QString& column) const
{
    return folded(quoteIdentifier(column)) + QStringLiteral(" LIKE ") + folded(QStringLiteral("CAST(? AS text)"))
        + QStringLiteral(" ESCAPE '\\'");
}

QString PostgresDialect::caselessIndexTerm(const QString& column) const
{
    return u'(' + folded(quoteIdentifier(column)) + u')';
}

QString PostgresDialect::missingText(const QString& column) const
{
    // On the folded column, as the index holds it: the folded text is NULL
    // or empty exactly where the column's is.
    const QString f = folded(quoteIdentifier(column));
    return QStringLiteral("(%1 IS NULL OR %1 = '')").arg(f);
}

QString PostgresDialect::keyCounterAfterCopy(const QString& table, const QString& column) const
{
    // The names go in as literals of the program's own table list, never typed by a user.
    const auto literal = [](const QString& text) {
        return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
    };
    return QStringLiteral(
               "SELECT setval(pg_get_serial_sequence(%1, %2), (SELECT COALESCE(MAX(%3), 0) + 1 FROM %4), false)")
        .arg(literal(quoteIdentifier(table)), literal(column.toLower()), quoteIdentifier(column),
             quoteIdentifier(table));
}

QString PostgresDialect::quoteIdentifier(const QString& name) const
{
    // The program writes its names unquoted, which the server folds to lower case.
    QString n = name.toLower();
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

QStringList PostgresDialect::userTables(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables "
                               "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE' "
                               "ORDER BY table_name")))
        throw DbError(causeOf(db, q.lastError()), m_server.displayName(), q.lastError().text());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QStringList PostgresDialect::indexNames(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()")))
        throw DbError(causeOf(db, q.lastError()), m_server.displayName(), q.lastError().text());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<QPair<QString, QString>> PostgresDialect::columns(const QSqlDatabase& db, const QString& table) const
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                             "WHERE table_schema = current_schema() AND table_name = ? ORDER BY ordinal_position"));
    q.addBindValue(table.toLower());
    if (!q.exec())
        throw DbError(causeOf(db, q.lastError()), m_server.displayName(), q.lastError().text());
    QList<QPair<QString, QString>> result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString()});
    return result;
}

QList<SqlDialect::BoundStatement> PostgresDialect::redeclaration(const QSqlDatabase&, const QString& table) const
{
    throw DbError(QStringLiteral("No table %1 to declare again").arg(table));
}

QVariant PostgresDialect::toStorage(FieldKind kind, const QVariant& value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (kind) {
    case FieldKind::Bool:
        return value.toBool();
    case FieldKind::Date:
    case FieldKind::Time:
    case FieldKind::DateTime: {
        const QVariant v = storedValue(kind, value);
        return v.toString().trimmed().isEmpty() ? QVariant() : v; // the server refuses an empty date
    }
    default:
        return storedValue(kind, value);
    }
}

QVariant PostgresDialect::fromEngine(const QVariant& value) const
{
    if (value.isNull())
        return value;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    default:
        return value;
    }
}
