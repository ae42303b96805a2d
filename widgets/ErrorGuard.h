#pragma once

#include "data/DbError.h"
#include "platform/Dialogs.h"

#include <QObject>
#include <QWidget>
#include <exception>
#include <type_traits>
#include <utility>

// Runs one handler; a failure stops it and is handed to report with its own
// text and, when the database failed, its error; the program goes on.
// report is called as report(const QString& text, const DbError* error).
template<typename Report, typename Handler>
bool runReporting(Report&& report, Handler&& handler)
{
    try {
        handler();
        return true;
    } catch (const DbError& e) {
        report(e.text(), &e);
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()), nullptr);
    }
    return false;
}

// The same, shown in a box, as the program's general error report does.
template<typename Handler>
bool runGuarded(Dialogs& dialogs, QWidget* parent, Handler&& handler)
{
    return runReporting([&dialogs, parent](const QString& text, const DbError*) { dialogs.error(parent, text); },
                        std::forward<Handler>(handler));
}

// Connects a signal to a handler that runs guarded, with window as the
// parent of the error report. Every handler of a window is connected this way.
template<typename Sender, typename Signal, typename Handler>
QMetaObject::Connection guardedConnect(Sender* sender, Signal signal, QWidget* window, Dialogs& dialogs,
                                       Handler handler)
{
    return QObject::connect(sender, signal, window, [window, &dialogs, handler](auto&&... args) {
        runGuarded(dialogs, window, [&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler(); // the handler does not need the signal's values
        });
    });
}

// Shows the failures a control reports on its own (a grid fetching rows as
// it scrolls) once the control is done, never from inside its painting.
template<typename Sender, typename Signal>
void reportErrorsOf(Sender* sender, Signal signal, QWidget* window, Dialogs& dialogs)
{
    QObject::connect(
        sender, signal, window, [window, &dialogs](const QString& text) { dialogs.error(window, text); },
        Qt::QueuedConnection);
}
