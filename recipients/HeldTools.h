#pragma once

#include "data/Select.h"

#include <QString>

class Connection;

// The tools a recipient holds: issued (not in the store) with the
// recipient's key as holder. Every column of the held tools, by type.
Select heldToolsStatement(const Connection& db, const QString& holderKey);

// How many tools the recipient with this key holds. Throws DbError.
int heldToolCount(Connection& db, const QString& holderKey);
