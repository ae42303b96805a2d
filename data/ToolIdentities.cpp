#include "ToolIdentities.h"

#include "Connection.h"

namespace ToolIdentities {

namespace {

// Tools without an identity that have a code to give them one.
QString missing(const Connection& db)
{
    return db.dialect().missingText(QStringLiteral("ID_Tool_Unique")) + QStringLiteral(" AND ID_Tool <> ''");
}

} // namespace

int assignMissing(Connection& db)
{
    // Looked for first: the update would take the write lock at every
    // start, also when there is nothing to give.
    if (!db.scalar(QStringLiteral("SELECT ID FROM Tools WHERE %1 LIMIT 1").arg(missing(db))).isValid())
        return 0;
    Statement update = db.run(QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool WHERE %1").arg(missing(db)));
    return update->numRowsAffected();
}

bool assignTo(Connection& db, qint64 toolKey)
{
    Statement update = db.run(
        QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool WHERE ID = ? AND %1").arg(missing(db)), {toolKey});
    return update->numRowsAffected() > 0;
}

} // namespace ToolIdentities
