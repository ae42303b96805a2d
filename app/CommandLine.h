#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

// The modes that run without a window or a display, for scripts, cron and
// ssh: `--backup FILE` writes a consistent copy of Data/DB.mdb; `--report ...`
// writes a report as PDF or RTF (see ReportCommand.h); `--labels ...` writes
// barcode labels as PDF (see LabelCommand.h);
// `--copy-database-to-server` copies Data/DB.mdb into the empty server
// database that Config.ini's [DATABASE] names, and prints both row counts;
// `-h`/`--help` prints every mode, `-v`/`--version` the version and commit;
// any other argument beginning with a dash prints the usage (status 2).
// `--data DIR`, anywhere, names the Data folder (see DataFolder); the modes
// working on it make the user's folder from the template first if needed.
// Nothing when the arguments ask for no such mode (the program starts its
// windows on the folder --data names); otherwise the exit status, with what happened written to out or err.
std::optional<int> runCommandLine(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                                  QTextStream& err);
