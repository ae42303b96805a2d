#pragma once

#include "SqlDialect.h"

// SQLite: the delivered Data/DB.mdb is an SQLite file.
class SqliteDialect : public SqlDialect
{
public:
    // Collation that compares text ignoring letter case, Cyrillic included.
    // Registered on the program's connection and used in its statements
    // only: a file whose schema named it would open in no other tool.
    static constexpr const char* kCaseless = "UNOCASE";
    // The built-in collation the text columns are declared with: ASCII
    // letters only, but known to every SQLite tool.
    static constexpr const char* kDeclaredCaseless = "NOCASE";

    QString driverName() const override;
    void open(QSqlDatabase& db, const QString& path, const OpenOptions& options) const override;
    JournalMode journalMode(const QSqlDatabase& db) const override;
    bool checkpoint(const QSqlDatabase& db, const QString& path, int busyTimeoutMs) const override;
    bool logFileLost(const QString& path) const override;
    void backup(const QSqlDatabase& db, const QString& path, const QString& target,
                WorkProgress* progress) const override;
    DbError::Cause causeOf(const QSqlDatabase& db, const QSqlError& error) const override;

    QString columnTypeOf(FieldKind kind) const override;
    QString autoKey(const QString& column) const override;
    FieldKind kindOfDeclaredType(const QString& declaredType) const override;

    QString sqlTrue() const override { return QStringLiteral("1"); }
    QString sqlFalse() const override { return QStringLiteral("0"); }
    OrderTerm falseFirst(const QString& column) const override;
    OrderTerm orderTerm(const QString& column, FieldKind kind, bool descending) const override;

    QString caselessEquals(const QString& column, const QString& value) const override;
    QString caselessSame(const QString& left, const QString& right) const override;
    QString caselessIn(const QString& column, int count) const override;
    QString trimmedCaselessEquals(const QString& column) const override;
    QString caselessLike(const QString& column) const override;
    QString caselessIndexTerm(const QString& column) const override { return quoteIdentifier(column); }
    QString missingText(const QString& column) const override;

    QString quoteIdentifier(const QString& name) const override;
    bool nullsSortLow() const override { return true; }

    QStringList userTables(const QSqlDatabase& db) const override;
    QStringList indexNames(const QSqlDatabase& db) const override;
    QList<QPair<QString, QString>> columns(const QSqlDatabase& db, const QString& table) const override;

    QStringList tablesToRedeclare(const QSqlDatabase& db) const override;
    QList<BoundStatement> redeclaration(const QSqlDatabase& db, const QString& table) const override;

    QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString lockRowSuffix() const override { return {}; }
    QString keyCounterAfterCopy(const QString&, const QString&) const override { return {}; }
    bool isServer() const override { return false; }

    QVariant toStorage(FieldKind kind, const QVariant& value) const override;
    QVariant fromEngine(const QVariant& value) const override { return value; }

    // Changes only when another connection commits to the file; costs no read of any table.
    QString changeCounter() const override { return QStringLiteral("PRAGMA data_version"); }
};
