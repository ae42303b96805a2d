#include "CodeLookup.h"

#include "data/Connection.h"

CodeClass classifyCode(Connection& db, const QString& code)
{
    // Both lookups always run; a code known in both registers is a recipient's.
    const bool user = db.scalar(QStringLiteral("SELECT 1 FROM Users WHERE ID_User=? LIMIT 1"), {code}).isValid();
    const bool tool = db.scalar(QStringLiteral("SELECT 1 FROM Tools WHERE ID_Tool=? LIMIT 1"), {code}).isValid();
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
