#pragma once

#include <QString>

// True when this process still holds a file open under path although the
// file was deleted from its folder (or replaced by another): what it writes
// there reaches no file anyone can read. Asks the system's list of this
// process's open files; false where there is none.
bool openFileDeleted(const QString& path);
