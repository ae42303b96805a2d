#include "HeldTools.h"

#include "data/Columns.h"
#include "data/Connection.h"

namespace {

QString heldCondition(const Connection& db)
{
    return QStringLiteral("(%1=%2) AND (%3=?)").arg(col::Tools::Passed, db.dialect().sqlFalse(), col::Tools::OwnerID);
}

} // namespace

Select heldToolsStatement(const Connection& db, const QString& holderKey)
{
    return Select(col::Tools::Table).where(heldCondition(db), {holderKey}).orderBy(col::Tools::Tool_Type);
}

int heldToolCount(Connection& db, const QString& holderKey)
{
    return int(db.count(Select(col::Tools::Table).where(heldCondition(db), {holderKey})));
}
