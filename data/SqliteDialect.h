#pragma once

#include "SqlDialect.h"

// SQLite: the delivered Data/DB.mdb is an SQLite file.
class SqliteDialect : public SqlDialect
{
public:
    // Collation that compares text ignoring letter case, Cyrillic included.
    static constexpr const char* kCaseless = "UNOCASE";

    QString driverName() const override;
    void open(QSqlDatabase& db, const QString& path) const override;

    QString columnType(const QString& storeType) const override;
    QString autoKey(const QString& column) const override;
    FieldKind kindOfDeclaredType(const QString& declaredType) const override;

    QString sqlTrue() const override { return QStringLiteral("1"); }
    QString sqlFalse() const override { return QStringLiteral("0"); }
    QString falseFirst(const QString& column) const override;
    QString orderTerm(const QString& column, FieldKind kind, bool descending) const override;

    QString quoteIdentifier(const QString& name) const override;
    bool nullsSortLow() const override { return true; }
    QString paged(const QString& sql) const override;
    QString counted(const QString& sql) const override;
    QString sorted(const QString& sql, const QString& orderBy) const override;

    QStringList userTables(const QSqlDatabase& db) const override;
    QList<QPair<QString, QString>> columns(const QSqlDatabase& db, const QString& table) const override;

    QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }

    QVariant toStorage(FieldKind kind, const QVariant& value) const override;
};
