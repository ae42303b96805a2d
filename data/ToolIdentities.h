#pragma once

#include <QtGlobal>

class Connection;

// A tool's lasting identity (ID_Tool_Unique) is its code when the tool is
// first saved. A tool row written by another program (the sqlite3 shell, a
// script) may have none; it gets its code then, as the upgrade gave the
// tools of older files theirs, before anything refers to it by identity.
// An identity once given is never changed.
namespace ToolIdentities {

// Gives every tool without an identity its code, in one statement; the
// number of tools given one. Costs one index lookup when none lacks it.
// Throws DbError.
int assignMissing(Connection& db);

// The same for the tool with row key toolKey; true when it lacked one.
// Inside the caller's write transaction where there is one. Throws DbError.
bool assignTo(Connection& db, qint64 toolKey);

} // namespace ToolIdentities
