#pragma once

#include "core/ProgramPaths.h"

#include <QStringList>
#include <QTextStream>

// `--report history --from YYYY-MM-DD --to YYYY-MM-DD`, `--report inventory`
// and `--report on-hand --recipient CODE`, each with `--pdf FILE` or
// `--rtf FILE`, and `--report out [--overdue]` with `--pdf FILE`, `--rtf FILE`
// or `--csv FILE`: the report the windows build, in the stored interface
// language, written without a window. options start after `--report`.
// Returns the exit status; what happened goes to out or err.
int runReportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err);

// Shown on a bad argument.
inline const char* const kReportUsage =
    "usage: tooldesk --report history --from YYYY-MM-DD --to YYYY-MM-DD (--pdf FILE | --rtf FILE)\n"
    "       tooldesk --report inventory (--pdf FILE | --rtf FILE)\n"
    "       tooldesk --report on-hand --recipient CODE (--pdf FILE | --rtf FILE)\n"
    "       tooldesk --report out [--overdue] (--pdf FILE | --rtf FILE | --csv FILE)";
