#pragma once

#include <QApplication>

class Dialogs;

// The application-level backstop: a failure that escapes an event handler is
// shown through the dialogs and the program goes on, instead of ending it.
// Handlers guard themselves; this catches what one forgot.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int& argc, char** argv);

    void setDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* m_dialogs = nullptr;
};
