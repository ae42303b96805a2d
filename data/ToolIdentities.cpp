#include "ToolIdentities.h"

#include "Columns.h"
#include "Connection.h"

namespace ToolIdentities {

namespace {

namespace T = col::Tools;

// Tools without an identity that have a code to give them one.
QString missing(const Connection& db)
{
    return db.dialect().missingText(T::ID_Tool_Unique) + QStringLiteral(" AND ") + T::ID_Tool
        + QStringLiteral(" <> ''");
}

Update identityFromCode(const Connection& db)
{
    return Update(T::Table).setFromColumn(T::ID_Tool_Unique, T::ID_Tool).where(missing(db));
}

} // namespace

int assignMissing(Connection& db)
{
    // Looked for first: the update would take the write lock at every
    // start, also when there is nothing to give.
    if (!db.exists(Select(T::Table).columns({col::Key}).where(missing(db))))
        return 0;
    return db.exec(identityFromCode(db));
}

bool assignTo(Connection& db, qint64 toolKey)
{
    return db.exec(identityFromCode(db).whereEquals(col::Key, toolKey)) > 0;
}

} // namespace ToolIdentities
