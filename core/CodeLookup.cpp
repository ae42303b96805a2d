#include "CodeLookup.h"

#include "data/Columns.h"
#include "data/Connection.h"

CodeClass classifyCode(Connection& db, const QString& code)
{
    // Both lookups always run; a code known in both registers is a recipient's.
    const SqlDialect& d = db.dialect();
    const QString userWhere = d.caselessEquals(col::Users::ID_User, code);
    const QString toolWhere = d.caselessEquals(col::Tools::ID_Tool, code);
    const bool user = db.exists(Select(col::Users::Table).columns({col::Key}).where(userWhere, {code}));
    const bool tool = db.exists(Select(col::Tools::Table).columns({col::Key}).where(toolWhere, {code}));
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
