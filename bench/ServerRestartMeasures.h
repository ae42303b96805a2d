#pragma once

#include "data/ConnectionDescription.h"

#include <QString>
#include <vector>

struct ServerRestartRun {
    std::vector<double> immediateMs; // the server's return to the other desk's event shown, after a crash
    std::vector<double> fastMs;      // the same after an administrator's fast shutdown
    int lost = 0;                    // rounds where the event was not shown within 20 s
};

// A desk on folder, its timers running as in the program, whose server
// (a cluster made by scripts/pg-test-server.sh in host) is stopped,
// left away for a few of the desk's looks, and started again, in turn
// "immediate" and "fast". From the moment another desk can connect again it
// records one journal row; each round times until the desk shows it on top.
bool measureServerRestart(const QString& folder, const QString& host, const ConnectionDescription& server, int rounds,
                          ServerRestartRun& run, QString& error);
