#include "RecipientSearch.h"

#include "core/SearchPattern.h"
#include "data/SqlDialect.h"

RecipientStatement recipientSearchStatement(const SqlDialect& dialect, const QString& idText, const QString& nameText)
{
    QVariantList params;
    QString sql = QStringLiteral("SELECT *\nFROM Users\nWHERE ")
        + codeContainsCondition(dialect, QStringLiteral("ID_User"), idText, params);
    if (!nameText.isEmpty()) {
        sql += QStringLiteral(" AND (%1 OR FIO IS NULL)").arg(dialect.caselessLike(QStringLiteral("FIO")));
        params << containsPattern(nameText);
    }
    return {sql, params};
}

RecipientStatement recipientCountStatement(const SqlDialect& dialect, const QString& idText)
{
    QVariantList params;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM Users WHERE ")
        + codeContainsCondition(dialect, QStringLiteral("ID_User"), idText, params);
    return {sql, params};
}
