#pragma once

#include "core/ProgramPaths.h"

#include <QStringList>
#include <QTextStream>

// `--labels tools|recipients|places [--codes A,B] [--layout NAME]
// [--symbol code128|qr|datamatrix] [--skip N] [--copies N] --pdf FILE`:
// labels of a register written as PDF at exact size, in the stored
// interface language; `--labels` alone lists the layouts. options start
// after `--labels`. Returns 0 written, 1 not written (nothing is), 2 wrong
// arguments; what happened goes to out or err.
int runLabelCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err);

// Shown on a bad argument.
inline const char* const kLabelUsage =
    "usage: tooldesk --labels tools|recipients|places [--codes CODE,CODE...] [--layout NAME]\n"
    "                [--symbol code128|qr|datamatrix] [--skip N] [--copies N] --pdf FILE\n"
    "       tooldesk --labels   (lists the label layouts)";
