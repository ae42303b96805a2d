#pragma once

#include "ImportTable.h"

#include <QString>

struct Messages;

// The table of a CSV or XLSX file, told apart by their first bytes (an XLSX
// is a zip archive). Throws ImportError with the file's name and the cause.
ImportTable readImportFile(const QString& path, const Messages& texts);
