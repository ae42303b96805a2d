#include "RecipientSearch.h"

#include "core/SearchPattern.h"
#include "data/SqlDialect.h"

namespace {

// An empty text matches every code: leaving its LIKE out lets the engine
// stop at the first page.
QString codeCondition(const SqlDialect& dialect, const QString& idText, QVariantList& params)
{
    if (idText.isEmpty())
        return QStringLiteral("(ID_User IS NOT NULL)");
    params << containsPattern(idText);
    return u'(' + dialect.caselessLike(QStringLiteral("ID_User")) + u')';
}

} // namespace

RecipientStatement recipientSearchStatement(const SqlDialect& dialect, const QString& idText, const QString& nameText)
{
    QVariantList params;
    QString sql = QStringLiteral("SELECT *\nFROM Users\nWHERE ") + codeCondition(dialect, idText, params);
    if (!nameText.isEmpty()) {
        sql += QStringLiteral(" AND (%1 OR FIO IS NULL)").arg(dialect.caselessLike(QStringLiteral("FIO")));
        params << containsPattern(nameText);
    }
    return {sql, params};
}

RecipientStatement recipientCountStatement(const SqlDialect& dialect, const QString& idText)
{
    QVariantList params;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM Users WHERE ") + codeCondition(dialect, idText, params);
    return {sql, params};
}
