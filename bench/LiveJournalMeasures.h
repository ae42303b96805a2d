#pragma once

#include <QString>
#include <vector>

struct LiveJournalRun {
    std::vector<double> quietMs;  // the idle look when no other desk wrote
    std::vector<double> followMs; // the look after another desk's event, with the journal reloaded and repainted
    int misplaced = 0;            // rounds where the new row was not on top or the looked-at row moved
};

// A desk on folder with its journal scrolled down to an older, current row;
// another connection on the same database file writes one journal row per
// round, as another desk does. Each round times the desk's look once before
// and once after that write.
bool measureLiveJournal(const QString& folder, const QString& dbPath, int rounds, LiveJournalRun& run, QString& error);
