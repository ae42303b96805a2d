#pragma once

#include "DbError.h"

struct sqlite3;

// The cause of an engine result code (primary or extended), helped by the
// operating system's error number of the failing file operation.
DbError::Cause sqliteErrorCause(int resultCode, int systemErrno);

// The cause of the last error on a connection.
DbError::Cause sqliteErrorCause(sqlite3* db, int resultCode);
