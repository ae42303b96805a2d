#include "HeldTools.h"

#include "data/Connection.h"

namespace {

QString heldCondition(const Connection& db)
{
    return QStringLiteral("(Passed=%1) AND (OwnerID=?)").arg(db.dialect().sqlFalse());
}

} // namespace

HeldToolsStatement heldToolsStatement(const Connection& db, const QString& holderKey)
{
    return {QStringLiteral("SELECT * FROM Tools WHERE %1 ORDER BY Tool_Type").arg(heldCondition(db)), {holderKey}};
}

int heldToolCount(Connection& db, const QString& holderKey)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE %1").arg(heldCondition(db)), {holderKey}).toInt();
}
