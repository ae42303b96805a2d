#include "SqliteErrorCause.h"

#include <cerrno>
#include <sqlite3.h>

DbError::Cause sqliteErrorCause(int resultCode, int systemErrno)
{
    using Cause = DbError::Cause;
    const bool noRoom = systemErrno == ENOSPC || systemErrno == EFBIG || systemErrno == EDQUOT;
    const bool denied = systemErrno == EACCES || systemErrno == EPERM || systemErrno == EROFS;
    switch (resultCode & 0xFF) {
    case SQLITE_FULL:
        return Cause::DiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Cause::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Cause::ReadOnlyFile;
    case SQLITE_NOTADB:
        return Cause::NotDatabase;
    case SQLITE_CORRUPT:
        return Cause::Corrupt;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        // A write past a file size limit fails with EFBIG, which the engine
        // reports as a plain write error.
        if (noRoom)
            return Cause::DiskFull;
        if (denied)
            return Cause::ReadOnlyFile;
        if ((resultCode & 0xFF) == SQLITE_CANTOPEN && systemErrno == ENOENT)
            return Cause::NotFound;
        return Cause::Other;
    default:
        return Cause::Other;
    }
}

DbError::Cause sqliteErrorCause(sqlite3* db, int resultCode)
{
    const int primary = resultCode & 0xFF;
    // The error number is kept from the last failing file operation: read it
    // only for results that come from one.
    const bool fromFile = primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_FULL;
    return sqliteErrorCause(resultCode, db && fromFile ? sqlite3_system_errno(db) : 0);
}
