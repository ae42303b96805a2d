#include "SqliteDialect.h"

#include "DbError.h"
#include "SqliteFunctions.h"

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
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

void run(QSqlDatabase& db, const QString& sql, const QString& path)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw DbError(QStringLiteral("%1: %2").arg(path, q.lastError().text()));
}

// Text typed into a number column: empty means no value, and anything that is
// not a number is refused (converting it would silently store 0).
QVariant numberToStorage(FieldKind kind, const QVariant& value)
{
    const bool integer = kind == FieldKind::Integer;
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray) {
        bool ok = false;
        const QVariant v = integer ? QVariant(value.toLongLong(&ok)) : QVariant(value.toDouble(&ok));
        return ok ? v : value;
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QVariant();
    bool ok = false;
    if (integer) {
        const qlonglong n = text.toLongLong(&ok);
        if (ok)
            return n;
        const qlonglong local = QLocale().toLongLong(text, &ok);
        if (ok)
            return local;
        throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    const double d = text.toDouble(&ok);
    if (ok)
        return d;
    const double local = QLocale().toDouble(text, &ok); // a decimal comma where the locale has one
    if (ok)
        return local;
    throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

} // namespace

QString SqliteDialect::driverName() const
{
    return QStringLiteral("QSQLITE");
}

void SqliteDialect::open(QSqlDatabase& db, const QString& path) const
{
    // mode=rw: the program never creates its database.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        throw DbError(QStringLiteral("%1: %2").arg(path, db.lastError().text()));
    sqlite3* handle = handleOf(db);
    if (!handle || !registerSqliteFunctions(handle))
        throw DbError(QStringLiteral("%1: cannot register text functions").arg(path));
    // Reading the header here reports a file that is not a database at once.
    run(db, QStringLiteral("PRAGMA journal_mode=WAL"), path);
    run(db, QStringLiteral("PRAGMA synchronous=FULL"), path);
}

QString SqliteDialect::columnType(const QString& storeType) const
{
    const QString t = storeType.trimmed().toUpper();
    const QString caselessText = QStringLiteral("TEXT COLLATE %1").arg(QLatin1String(kCaseless));
    if (t == u"MONEY" || t == u"DOUBLE" || t == u"REAL")
        return QStringLiteral("REAL");
    if (t.startsWith(u"VARCHAR") || t.startsWith(u"CHAR") || t == u"MEMO" || t.startsWith(u"TEXT"))
        return caselessText;
    if (t == u"LOGICAL" || t == u"YESNO" || t == u"BIT")
        return QStringLiteral("BOOLEAN NOT NULL DEFAULT 0");
    if (t == u"DATE" || t == u"TIME" || t == u"DATETIME")
        return t;
    if (t == u"INTEGER" || t == u"LONG")
        return QStringLiteral("INTEGER");
    if (t == u"LONGBINARY" || t == u"BLOB")
        return QStringLiteral("BLOB");
    throw DbError(QStringLiteral("Unknown column type: %1").arg(storeType));
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

QString SqliteDialect::falseFirst(const QString& column) const
{
    return quoteIdentifier(column) + QStringLiteral(" ASC");
}

QString SqliteDialect::orderTerm(const QString& column, FieldKind kind, bool descending) const
{
    if (kind == FieldKind::Bool)
        descending = !descending; // true is stored as 1 here, was -1 there
    // Texts sort ignoring letter case beyond ASCII too, by the collation
    // registered on the connection (the schema holds only built-in ones).
    const QString collation = kind == FieldKind::Text ? QStringLiteral(" COLLATE ") + QLatin1String(kCaseless)
                                                      : QString();
    return quoteIdentifier(column) + collation + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
}

QString SqliteDialect::quoteIdentifier(const QString& name) const
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

QString SqliteDialect::paged(const QString& sql) const
{
    return sql + QStringLiteral(" LIMIT ? OFFSET ?");
}

QString SqliteDialect::counted(const QString& sql) const
{
    return QStringLiteral("SELECT COUNT(*) FROM (") + sql + u')';
}

QString SqliteDialect::sorted(const QString& sql, const QString& orderBy) const
{
    return QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") ORDER BY ") + orderBy;
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
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (kind) {
    case FieldKind::Bool:
        return value.toBool() ? 1 : 0;
    case FieldKind::Date:
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().date().toString(Qt::ISODate);
        return value.toString();
    case FieldKind::Time:
        if (value.metaType().id() == QMetaType::QTime)
            return value.toTime().toString(QStringLiteral("hh:mm:ss"));
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().time().toString(QStringLiteral("hh:mm:ss"));
        return value.toString();
    case FieldKind::DateTime:
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate) + QStringLiteral(" 00:00:00");
        return value.toString();
    case FieldKind::Integer:
    case FieldKind::Real:
        return numberToStorage(kind, value);
    case FieldKind::Blob:
        return value.toByteArray();
    case FieldKind::Text: {
        // The program writes empty texts, never NULL, for a text it was given.
        const QString s = value.toString();
        return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
    }
    }
    return value;
}
