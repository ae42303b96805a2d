#pragma once

#include "Messages.h"
#include "data/DbError.h"

// What a storekeeper is told of a database failure, in the interface
// language, with the engine's own text below.

// An issue or return that was not recorded, and why.
QString eventFailureText(const DbError& error, const Messages& texts);
// A database that cannot be opened at start, naming the file or folder.
QString openFailureText(const DbError& error, const Messages& texts);
