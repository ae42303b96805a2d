#pragma once

#include "Messages.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"

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

// Why a file was not written and what the user can do, naming the file or
// folder concerned; one sentence, without the system's text.
QString fileWriteCauseText(const FileWriteError& error, const Messages& texts);
// A file that was NOT written: headline (its %1 is the target), the cause,
// and the system's own text below.
QString fileWriteFailureText(const FileWriteError& error, const QString& headline, const QString& target,
                             const Messages& texts);
// A database backup that was NOT written; a damaged database is named as such.
QString backupFailureText(const FileWriteError& error, const QString& target, const Messages& texts);
// A write-off act that the database did not take: nothing was written off.
QString writeOffFailureText(const DbError& error, qint64 act, const Messages& texts);
