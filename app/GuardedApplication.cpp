#include "GuardedApplication.h"

#include "data/DbError.h"
#include "platform/Dialogs.h"

#include <exception>

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    QString failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        failure = e.text();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (m_dialogs)
        m_dialogs->error(activeWindow(), failure);
    else
        qWarning("%s", qPrintable(failure));
    return false;
}
