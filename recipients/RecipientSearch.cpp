#include "RecipientSearch.h"

#include "core/SearchPattern.h"

namespace {

// An empty text matches every code: leaving its LIKE out lets the engine
// stop at the first page.
QString codeCondition(const QString& idText, QVariantList& params)
{
    if (idText.isEmpty())
        return QStringLiteral("(ID_User IS NOT NULL)");
    params << containsPattern(idText);
    return QStringLiteral("(ID_User LIKE ? ESCAPE '\\')");
}

} // namespace

RecipientStatement recipientSearchStatement(const QString& idText, const QString& nameText)
{
    QVariantList params;
    QString sql = QStringLiteral("SELECT *\nFROM Users\nWHERE ") + codeCondition(idText, params);
    if (!nameText.isEmpty()) {
        sql += QStringLiteral(" AND (FIO LIKE ? ESCAPE '\\' OR FIO IS NULL)");
        params << containsPattern(nameText);
    }
    return {sql, params};
}

RecipientStatement recipientCountStatement(const QString& idText)
{
    QVariantList params;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM Users WHERE ") + codeCondition(idText, params);
    return {sql, params};
}
