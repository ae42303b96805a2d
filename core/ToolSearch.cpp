#include "ToolSearch.h"

#include "data/Columns.h"
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

Select toolSearchStatement(const QString& idText, const QString& typeText, bool workTypeChosen,
                           const QStringList& identities, const SqlDialect& dialect, const OrderTerm& order)
{
    namespace T = col::Tools;
    Select select(T::Table);
    if (workTypeChosen && identities.isEmpty())
        return select.where(col::Key + QStringLiteral("=-1"));
    QVariantList codeParams;
    select.where(codeContainsCondition(dialect, T::ID_Tool, idText, codeParams), codeParams);
    // An empty type text likewise leaves its LIKE out.
    if (!typeText.isEmpty())
        select.where(QStringLiteral("%1 OR %2 IS NULL").arg(dialect.caselessLike(T::Tool_Type), T::Tool_Type),
                     {containsPattern(typeText)});
    if (workTypeChosen) {
        QStringList marks;
        QVariantList values;
        for (const QString& identity : identities) {
            marks << QStringLiteral("?");
            values << identity;
        }
        select.where(T::ID_Tool_Unique + QStringLiteral(" IN (") + marks.join(u',') + u')', values);
    }
    return select.where(T::WriteOff + QStringLiteral("<>") + dialect.sqlTrue()).orderBy(order);
}

Select toolCountStatement(const SqlDialect& dialect, const QString& idText)
{
    QVariantList params;
    const QString condition = codeContainsCondition(dialect, col::Tools::ID_Tool, idText, params);
    return Select(col::Tools::Table).where(condition, params);
}
