#include "CodeRegistry.h"

#include "Columns.h"
#include "Connection.h"

CodeRegistry::CodeRegistry(Connection& connection)
    : m_db(connection)
{
}

bool CodeRegistry::toolCodeTaken(const QString& code, const QVariant& exceptKey) const
{
    return taken(col::Tools::Table, col::Tools::ID_Tool, code, exceptKey);
}

bool CodeRegistry::recipientCodeTaken(const QString& code, const QVariant& exceptKey) const
{
    return taken(col::Users::Table, col::Users::ID_User, code, exceptKey);
}

bool CodeRegistry::serialTaken(const QString& serial, const QVariant& exceptKey) const
{
    return taken(col::Tools::Table, col::Tools::SNumber, serial, exceptKey);
}

bool CodeRegistry::taken(const QString& table, const QString& column, const QString& value,
                         const QVariant& exceptKey) const
{
    const SqlDialect& d = m_db.dialect();
    QString sql =
        QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(d.quoteIdentifier(table), d.trimmedCaselessEquals(column));
    QVariantList params{value.trimmed()};
    if (!exceptKey.isNull()) {
        sql += QStringLiteral(" AND %1<>?").arg(d.quoteIdentifier(col::Key));
        params << exceptKey;
    }
    return m_db.scalar(sql + QStringLiteral(" LIMIT 1"), params).isValid();
}
