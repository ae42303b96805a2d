#include "ToolSearch.h"

#include "data/SqlDialect.h"

QStringList parseToolList(const QString& stored)
{
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = stored.size();
    while (i < n) {
        while (i < n && (stored.at(i).isSpace() || stored.at(i) == u','))
            ++i;
        if (i >= n)
            break;
        QString item;
        if (stored.at(i) == u'\'') {
            ++i;
            while (i < n) {
                if (stored.at(i) == u'\'') {
                    if (i + 1 < n && stored.at(i + 1) == u'\'') {
                        item += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += stored.at(i++);
            }
        } else {
            while (i < n && stored.at(i) != u',')
                item += stored.at(i++);
            item = item.trimmed();
        }
        items << item;
    }
    return items;
}

ToolSearchStatement toolSearchStatement(const QString& idText, const QString& typeText, bool workTypeChosen,
                                        const QStringList& identities, const SqlDialect& dialect,
                                        const QString& issuedFirst)
{
    if (workTypeChosen && identities.isEmpty())
        return {QStringLiteral("SELECT *\nFROM Tools\nWHERE (ID=-1)"), {}};
    QVariantList params;
    QString sql = QStringLiteral("SELECT *\nFROM Tools\nWHERE ")
        + codeContainsCondition(dialect, QStringLiteral("ID_Tool"), idText, params);
    // An empty type text likewise leaves its LIKE out.
    if (!typeText.isEmpty()) {
        sql += QStringLiteral(" AND (%1 OR Tool_Type IS NULL)").arg(dialect.caselessLike(QStringLiteral("Tool_Type")));
        params << containsPattern(typeText);
    }
    if (workTypeChosen) {
        QStringList marks;
        for (const QString& identity : identities) {
            marks << QStringLiteral("?");
            params << identity;
        }
        sql += QStringLiteral(" AND ID_Tool_Unique IN (") + marks.join(u',') + u')';
    }
    sql += QStringLiteral(" AND WriteOff<>%1 ORDER BY %2").arg(dialect.sqlTrue(), issuedFirst);
    return {sql, params};
}

ToolSearchStatement toolCountStatement(const SqlDialect& dialect, const QString& idText)
{
    QVariantList params;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ")
        + codeContainsCondition(dialect, QStringLiteral("ID_Tool"), idText, params);
    return {sql, params};
}
