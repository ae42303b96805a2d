#include "RecipientSearch.h"

#include "SearchPattern.h"
#include "data/Columns.h"
#include "data/SqlDialect.h"

Select recipientSearchStatement(const SqlDialect& dialect, const QString& idText, const QString& nameText)
{
    namespace U = col::Users;
    QVariantList codeParams;
    Select select(U::Table);
    select.where(codeContainsCondition(dialect, U::ID_User, idText, codeParams), codeParams);
    if (!nameText.isEmpty())
        select.where(QStringLiteral("%1 OR %2 IS NULL").arg(dialect.caselessLike(U::FIO), U::FIO),
                     {containsPattern(nameText)});
    return select;
}

Select recipientCountStatement(const SqlDialect& dialect, const QString& idText)
{
    QVariantList params;
    const QString condition = codeContainsCondition(dialect, col::Users::ID_User, idText, params);
    return Select(col::Users::Table).where(condition, params);
}
