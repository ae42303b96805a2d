#include "CodeLookup.h"

#include "data/Columns.h"
#include "data/Connection.h"

CodeClass classifyCode(Connection& db, const QString& code)
{
    // Both registers in one statement, the code bound twice; a code known in
    // both is a recipient's.
    const SqlDialect& d = db.dialect();
    const QString sql = QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM %1 WHERE %2) THEN 1"
                                       " WHEN EXISTS (SELECT 1 FROM %3 WHERE %4) THEN 2 ELSE 0 END")
                            .arg(d.quoteIdentifier(col::Users::Table), d.caselessEquals(col::Users::ID_User, code),
                                 d.quoteIdentifier(col::Tools::Table), d.caselessEquals(col::Tools::ID_Tool, code));
    switch (db.scalar(sql, {code, code}).toInt()) {
    case 1:
        return CodeClass::User;
    case 2:
        return CodeClass::Tool;
    default:
        return CodeClass::None;
    }
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
