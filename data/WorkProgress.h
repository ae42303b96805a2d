#pragma once

#include <QString>
#include <QtGlobal>

// Long work (a report, a backup, an import, a copy to the server) tells how far
// it got through this. A window shows it with a cancel button, a terminal
// prints it; the work itself knows neither.
class WorkProgress
{
public:
    virtual ~WorkProgress() = default;
    // What is being done now ("Копирование таблицы Tools"); the count starts again.
    virtual void setStage(const QString& text) = 0;
    // done of total steps (total 0: unknown). False when the user cancelled:
    // the work stops and leaves nothing half-written.
    virtual bool advance(qint64 done, qint64 total) = 0;
};

// For callers that show nothing and never cancel.
class SilentProgress final : public WorkProgress
{
public:
    void setStage(const QString&) override { }
    bool advance(qint64, qint64) override { return true; }
};
