#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// This thread's processor time so far, in milliseconds.
double threadCpuMs();

// One desk event of the benchmark with everything the journal row holds, so
// the desk and the bare-engine baseline write the same rows.
struct PlannedEvent {
    bool issue = true;
    int userKey = 0;
    QByteArray userCode, fio, organization;
    int toolKey = 0;
    QByteArray toolCode, toolUnique, type, model, state;
};

// Events over tools that are in store, taken in key order: in each group of
// ten, five tools are issued and then the same five come back.
bool planEvents(const QString& dbPath, int count, std::vector<PlannedEvent>& plan, QString& error);

struct StartupRun {
    double ms = 0;
    qint64 peakKb = 0;
    int rows = 0;
};

// Runs bench_startup on the folder and times it from process start to its
// "ready" line.
bool measureStartup(const QString& folder, StartupRun& run, QString& error);

struct DeskRun {
    std::vector<double> ms;      // Return of the second code until the journal is repainted
    std::vector<double> cpuMs;   // the processor time of that span (this thread's, the kernel's part included)
    std::vector<double> drainMs; // the events left queued after that, not part of the figure
    int mismatches = 0;
    QStringList problems; // the first few mismatches, for the report
};

// afterEach runs untimed after every desk event (the baseline's turn);
// false from it ends the run.
bool measureDesk(const QString& folder, const std::vector<PlannedEvent>& plan, DeskRun& run, QString& error,
                 const std::function<bool(size_t)>& afterEach = {});

// The same writes with the bare engine: BEGIN IMMEDIATE, journal INSERT, tool
// UPDATE, COMMIT on one handle with the program's pragmas.
class BaselineWriter
{
public:
    BaselineWriter();
    ~BaselineWriter();

    bool open(const QString& dbPath);
    bool write(const PlannedEvent& e);
    const QString& error() const { return m_error; }

    std::vector<double> ms;       // the whole transaction
    std::vector<double> cpuMs;    // its processor time (this thread's, the kernel's part included)
    std::vector<double> commitMs; // its COMMIT alone: the log write and the disk sync

private:
    struct Statements;
    std::unique_ptr<Statements> m_s;
    QString m_error;
};
