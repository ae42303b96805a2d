#pragma once

#include "core/ProgramPaths.h"

#include <QStringList>
#include <QTextStream>

// `--import tools|recipients FILE [--update] [--dry-run] [--photos DIR]`:
// tools or workers from a CSV or XLSX file, all rows in one transaction or
// none. --update changes the rows whose code exists (else they are
// skipped); --dry-run prints each row's verdict and writes nothing;
// --photos takes DIR's pictures named by code as photos. options start
// after `--import`. Returns 0 done, 1 refused or failed (nothing written),
// 2 wrong arguments; what happened goes to out or err.
int runImportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err);

// Shown on a bad argument.
inline const char* const kImportUsage =
    "usage: tooldesk --import tools|recipients FILE.csv|FILE.xlsx [--update] [--dry-run] [--photos DIR]";
