#pragma once

#include <QString>
#include <QStringList>

// Four copies of the program scanning at once on shared tools, each its own
// process on the same program folder.
struct FourDesksRun {
    int events = 0;
    double seconds = 0; // from the first desk's start to the last desk's end
    int doubleIssues = 0;
    int stateMismatches = 0; // tools whose state is not their last journal row
    int failures = 0;        // events a desk was told were not recorded
};

// The child's side: a program on folder, recipient scanned with each tool,
// round after round; prints "failures=N".
int runScanChild(const QStringList& arguments);

// Runs four children over 50 tools in store, 500 events each.
bool measureFourDesks(const QString& folder, FourDesksRun& run, QString& error);
