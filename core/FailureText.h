#pragma once

#include "Messages.h"
#include "data/DbError.h"

// What a storekeeper is told of a database failure, in the interface
// language, with the engine's own text below.

// A failure told in one sentence of the interface language, with the
// engine's or the system's own text to show below it.
struct FailureMessage {
    QString sentence;
    QString detail;
    QString joined() const; // the sentence, a blank line, the detail
};

// An issue or return that was not recorded, and why.
FailureMessage eventFailure(const DbError& error, const Messages& texts);
QString eventFailureText(const DbError& error, const Messages& texts);
// A scanned code that could not be looked up: nothing was recorded.
FailureMessage scanFailure(const QString& code, const DbError& error, const Messages& texts);
// The desk's look at its idle database failed: events are not being
// recorded, because the server is away or the file does not answer.
FailureMessage databaseFailing(const DbError& error, const Messages& texts);
// True when the error says the database server is away, not that one
// statement failed: the desk then shows a standing line until it is back.
bool isConnectionFailure(const DbError& error);
// A database that cannot be opened at start, naming the file or folder.
QString openFailureText(const DbError& error, const Messages& texts);
