#pragma once

#include "data/WorkProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

// Shows long work in a progress dialog with a cancel button over parent.
// The dialog appears only when the work lasts longer than half a second, and
// the window keeps repainting while the work runs on the caller's thread.
class ProgressWindow final : public WorkProgress
{
public:
    ProgressWindow(QWidget* parent, const QString& title);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void setStage(const QString& text) override;
    bool advance(qint64 done, qint64 total) override;
    bool cancelled() const { return m_cancelled; }
    // The dialog once shown; nothing before (tests press its cancel button).
    QProgressDialog* dialog() const { return m_dialog; }
    // Shows the dialog at once instead of after half a second.
    void showNow();

private:
    void keepPainting();

    QWidget* m_parent;
    QString m_title;
    QString m_stage;
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_started;
    QElapsedTimer m_lastEvents;
    bool m_cancelled = false;
};
