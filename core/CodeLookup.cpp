#include "CodeLookup.h"

#include "data/Columns.h"
#include "data/Connection.h"

CodeClass classifyCode(Connection& db, const QString& code)
{
    // Both lookups always run; a code known in both registers is a recipient's.
    const SqlDialect& d = db.dialect();
    const QString userWhere = d.caselessEquals(col::Users::ID_User, code);
    const QString toolWhere = d.caselessEquals(col::Tools::ID_Tool, code);
    const bool user =
        db.scalar(QStringLiteral("SELECT 1 FROM Users WHERE %1 LIMIT 1").arg(userWhere), {code}).isValid();
    const bool tool =
        db.scalar(QStringLiteral("SELECT 1 FROM Tools WHERE %1 LIMIT 1").arg(toolWhere), {code}).isValid();
    if (user)
        return CodeClass::User;
    return tool ? CodeClass::Tool : CodeClass::None;
}

QString codeClassName(CodeClass c)
{
    switch (c) {
    case CodeClass::User:
        return QStringLiteral("user");
    case CodeClass::Tool:
        return QStringLiteral("tool");
    case CodeClass::None:
        break;
    }
    return {};
}
