#pragma once

#include "data/Select.h"

#include <QDateTime>
#include <QStringList>

class Connection;

// Writing a whole act off: its tools marked written off and the act stamped
// with the date, in one transaction, so the store never holds one without
// the other.
class ActWriteOff
{
public:
    explicit ActWriteOff(Connection& db);

    // Writes act off at when. A tool of the act that is out with a worker
    // would be lost to the desk, which refuses written-off tools: then
    // nothing is written and the codes of those tools are returned.
    // Throws DbError; then nothing is written either.
    QStringList writeOff(qint64 act, const QDateTime& when);

    // The tools of an act in the order its document lists them.
    static Select tools(qint64 act);

private:
    Connection& m_db;
};
