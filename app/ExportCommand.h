#pragma once

#include "core/ProgramPaths.h"

#include <QStringList>
#include <QTextStream>

// `--export tools|recipients FILE.csv|FILE.xlsx`: the whole register, with
// the columns the settings show and in the list's own order, headings in
// the stored interface language. options start after `--export`. Returns 0
// written, 1 not written (an earlier file stays), 2 wrong arguments; what
// happened goes to out or err.
int runExportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err);

// Shown on a bad argument.
inline const char* const kExportUsage = "usage: tooldesk --export tools|recipients FILE.csv|FILE.xlsx";
