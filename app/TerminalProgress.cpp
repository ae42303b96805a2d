#include "TerminalProgress.h"

#include <algorithm>
#include <unistd.h>

namespace {
// Often enough to watch, rarely enough to cost nothing.
constexpr qint64 kPrintEveryMs = 200;
} // namespace

TerminalProgress::TerminalProgress(QTextStream& stream, const QString& text)
    : m_stream(stream)
    , m_text(text)
{
    m_stageTime.start();
    m_lastPrint.start();
}

TerminalProgress::~TerminalProgress()
{
    endLine();
}

std::unique_ptr<WorkProgress> TerminalProgress::onStandardError(QTextStream& stream, const QString& text)
{
    if (isatty(STDERR_FILENO))
        return std::make_unique<TerminalProgress>(stream, text);
    return std::make_unique<SilentProgress>();
}

void TerminalProgress::setStage(const QString& text)
{
    endLine();
    m_stage = text;
    m_stageTime.restart();
}

bool TerminalProgress::advance(qint64 done, qint64 total)
{
    // A total of 0 is unknown, unless nothing was done either (an empty table).
    const bool last = total > 0 ? done >= total : done == 0;
    if (!last && m_lineOpen && m_lastPrint.elapsed() < kPrintEveryMs)
        return true;
    m_lastPrint.restart();
    const qint64 ms = std::max<qint64>(1, m_stageTime.elapsed());
    // Back to the line's start and the rest of it cleared: a line shorter
    // than the one before leaves nothing of it.
    m_stream << "\r\x1b[K"
             << m_text.arg(m_stage)
                    .arg(done)
                    .arg(total > 0 || last ? QString::number(total) : QStringLiteral("?"))
                    .arg(done * 1000 / ms);
    m_stream.flush();
    m_lineOpen = true;
    if (last)
        endLine();
    return true;
}

void TerminalProgress::endLine()
{
    if (!m_lineOpen)
        return;
    m_stream << '\n';
    m_stream.flush();
    m_lineOpen = false;
}
