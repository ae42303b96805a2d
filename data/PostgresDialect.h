#pragma once

#include "ConnectionDescription.h"
#include "SqlDialect.h"

// PostgreSQL: one database on a server that the desks of several computers
// share. Names are folded to lower case, as the server does with the
// program's unquoted names. Text is compared caselessly through an ICU
// collation, which folds Cyrillic whatever locale the database was made
// with; the code lookups have expression indexes on the same fold.
class PostgresDialect : public SqlDialect
{
public:
    // ICU's root collation: created by initdb wherever the server has ICU.
    static constexpr const char* kIcu = "\"und-x-icu\"";

    explicit PostgresDialect(ConnectionDescription server);

    QString driverName() const override;
    void open(QSqlDatabase& db, const QString& path, const OpenOptions& options) const override;
    JournalMode journalMode(const QSqlDatabase& db) const override;
    bool checkpoint(const QSqlDatabase& db, const QString& path, int busyTimeoutMs) const override;
    void backup(const QSqlDatabase& db, const QString& path, const QString& target,
                WorkProgress* progress) const override;
    DbError::Cause causeOf(const QSqlDatabase& db, const QSqlError& error) const override;

    QString columnTypeOf(FieldKind kind) const override;
    QString autoKey(const QString& column) const override;
    FieldKind kindOfDeclaredType(const QString& declaredType) const override;

    QString sqlTrue() const override { return QStringLiteral("TRUE"); }
    QString sqlFalse() const override { return QStringLiteral("FALSE"); }
    OrderTerm falseFirst(const QString& column) const override;
    OrderTerm orderTerm(const QString& column, FieldKind kind, bool descending) const override;

    QString caselessEquals(const QString& column, const QString& value) const override;
    QString caselessSame(const QString& left, const QString& right) const override;
    QString caselessIn(const QString& column, int count) const override;
    QString trimmedCaselessEquals(const QString& column) const override;
    QString caselessLike(const QString& column) const override;
    QString caselessIndexTerm(const QString& column) const override;
    QString missingText(const QString& column) const override;

    QString quoteIdentifier(const QString& name) const override;
    bool nullsSortLow() const override { return false; }

    QStringList userTables(const QSqlDatabase& db) const override;
    QStringList indexNames(const QSqlDatabase& db) const override;
    QList<QPair<QString, QString>> columns(const QSqlDatabase& db, const QString& table) const override;

    QStringList tablesToRedeclare(const QSqlDatabase&) const override { return {}; }
    QList<BoundStatement> redeclaration(const QSqlDatabase& db, const QString& table) const override;

    QString beginWrite() const override { return QStringLiteral("BEGIN"); }
    QString lockRowSuffix() const override { return QStringLiteral(" FOR UPDATE"); }
    QString keyCounterAfterCopy(const QString& table, const QString& column) const override;
    bool isServer() const override { return true; }

    QVariant toStorage(FieldKind kind, const QVariant& value) const override;
    QVariant fromEngine(const QVariant& value) const override;

    // Every write transaction tells the other desks at its commit.
    QString changeChannel() const override { return QStringLiteral("tooldesk_journal"); }
    QString changeNotification() const override { return QStringLiteral("NOTIFY tooldesk_journal"); }

    // What an error's SQLSTATE and text mean for the user.
    static DbError::Cause causeOfState(const QString& sqlState, const QString& text);
    // The password file libpq reads: PGPASSFILE, or .pgpass in the home folder.
    static QString passwordFile();

private:
    QString folded(const QString& expression) const;

    ConnectionDescription m_server;
};
