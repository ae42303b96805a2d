#pragma once

#include "data/DbError.h"
#include "platform/Dialogs.h"

// Runs one handler; a database failure stops it and is shown with the
// engine's own text, as the program's general error report does.
template<typename Handler>
bool runGuarded(Dialogs& dialogs, QWidget* parent, Handler&& handler)
{
    try {
        handler();
        return true;
    } catch (const DbError& e) {
        dialogs.error(parent, e.text());
        return false;
    }
}
