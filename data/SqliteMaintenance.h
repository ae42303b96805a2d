#pragma once

#include <QString>

class WorkProgress;
struct sqlite3;

// Keeping the SQLite file a backup by itself, and copying it while in use.
namespace sqlitemaintenance {

// Writes the log's committed pages into the file, without waiting for other
// programs; true when the file then holds every committed change. Throws
// DbError only for an error other than the database being busy.
bool checkpoint(sqlite3* db, const QString& path, int busyTimeoutMs);

// A consistent copy of the open database through the engine's online
// backup, written through WholeFileWriter and checked with PRAGMA
// integrity_check before it replaces target. Throws FileWriteError, or
// WorkCancelled when progress was cancelled (nothing is then written).
void backup(sqlite3* source, const QString& livePath, const QString& target, WorkProgress* progress = nullptr);

} // namespace sqlitemaintenance
