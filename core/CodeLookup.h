#pragma once

#include <QString>

class Connection;

// Which register a scanned code belongs to: recipients are looked up first,
// then all tools (written-off ones included).
enum class CodeClass { None, User, Tool };

CodeClass classifyCode(Connection& connection, const QString& code);

// "user", "tool" or the empty text.
QString codeClassName(CodeClass c);
