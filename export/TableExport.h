#pragma once

#include "ExportTable.h"

#include <QString>
#include <optional>

class Connection;
class WorkProgress;
struct Messages;

enum class ExportFormat { Csv, Xlsx };

// The format a file's name asks for (".csv", ".xlsx", letter case ignored);
// none for any other name.
std::optional<ExportFormat> exportFormatOf(const QString& file);

struct ExportOutcome {
    bool written = false; // false: cancelled, nothing written
    qint64 rows = 0;
};

// Writes the table's rows as they are listed now into file, whole or not
// at all: into a temporary file beside it, synced and renamed over it only
// when every row is in. Tells progress row by row; a cancel leaves the
// earlier file as it was. Throws FileWriteError (nothing written, the
// earlier file stays) and DbError.
ExportOutcome exportTable(Connection& db, const ExportTable& table, const QString& file, ExportFormat format,
                          WorkProgress& progress, const Messages& texts);
