#include "ProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>

namespace {
constexpr int kShowAfterMs = 500;
// Often enough for a window that repaints and a cancel button that answers,
// rarely enough that event handling costs nothing measurable.
constexpr int kEventsEveryMs = 50;
// QProgressDialog counts in int.
constexpr qint64 kScale = 1000;
} // namespace

ProgressWindow::ProgressWindow(QWidget* parent, const QString& title)
    : m_parent(parent)
    , m_title(title)
{
    m_started.start();
    m_lastEvents.start();
}

ProgressWindow::~ProgressWindow()
{
    delete m_dialog.data();
}

void ProgressWindow::showNow()
{
    if (m_dialog)
        return;
    m_dialog = new QProgressDialog(m_parent);
    m_dialog->setObjectName(QStringLiteral("ProgressWindow"));
    m_dialog->setWindowTitle(m_title);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setLabelText(m_stage.isEmpty() ? m_title : m_stage);
    m_dialog->setAccessibleName(m_title);
    QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog, [this] { m_cancelled = true; });
    m_dialog->show();
}

void ProgressWindow::setStage(const QString& text)
{
    m_stage = text;
    if (m_dialog)
        m_dialog->setLabelText(text);
}

bool ProgressWindow::advance(qint64 done, qint64 total)
{
    if (!m_dialog && m_started.elapsed() >= kShowAfterMs)
        showNow();
    if (m_dialog) {
        if (total > 0) {
            m_dialog->setMaximum(static_cast<int>(kScale));
            m_dialog->setValue(static_cast<int>(qBound<qint64>(0, done * kScale / total, kScale)));
        } else {
            m_dialog->setMaximum(0); // busy indicator
        }
    }
    keepPainting();
    return !m_cancelled;
}

void ProgressWindow::keepPainting()
{
    if (m_lastEvents.elapsed() < kEventsEveryMs)
        return;
    m_lastEvents.restart();
    // Once shown the dialog is window-modal, so clicks reach its cancel button and
    // not the window under it; before that no click may start other work meanwhile.
    QApplication::processEvents(m_dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, 10);
}
