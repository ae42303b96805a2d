#pragma once

#include "data/WorkProgress.h"

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <memory>

// Long work of a command-line mode on a terminal: one line per stage (a
// table, a file) that is rewritten in place as the work goes on, such as
// "Tools: 52000 of 120000 rows, 26000 rows/s". Never cancels: Ctrl+C ends
// the program, and what it was writing is thrown away with it.
class TerminalProgress final : public WorkProgress
{
public:
    // text: %1 the stage, %2 done, %3 in all, %4 per second.
    TerminalProgress(QTextStream& stream, const QString& text);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void setStage(const QString& text) override;
    bool advance(qint64 done, qint64 total) override;

    // This on standard error when that is a terminal; elsewhere (a log
    // file, a pipe, a cron mail) nothing.
    static std::unique_ptr<WorkProgress> onStandardError(QTextStream& stream, const QString& text);

private:
    void endLine();

    QTextStream& m_stream;
    QString m_text;
    QString m_stage;
    QElapsedTimer m_stageTime;
    QElapsedTimer m_lastPrint;
    bool m_lineOpen = false;
};
