#pragma once

#include "data/ConnectionDescription.h"

#include <QString>

// A database of its own on the test command's private PostgreSQL server
// (scripts/pg-test-server.sh; its socket folder in TOOLDESK_TEST_PGHOST), or
// on the server in serverHost, created empty and dropped with the object.
// Without the server the test stops with a message saying how to start it:
// never a silent skip.
class PgTestDatabase
{
public:
    explicit PgTestDatabase(const QString& serverHost = host());
    ~PgTestDatabase();
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    const QString& name() const { return m_name; }
    ConnectionDescription description() const;
    // The settings file's section that names this database.
    QString iniSection() const;
    // The settings text with that section added.
    QString iniWith(const QString& iniText) const;

    // Runs sql as the server's superuser on this database (kills another
    // desk's backend, reads plans); throws DbError.
    void adminExec(const QString& sql) const;
    // Closes this database to every connection (the server is away for
    // the desks on it: theirs are cut, new ones refused), or opens it again.
    void setReachable(bool reachable) const;

    // Whether this test run is the PostgreSQL one (TOOLDESK_TEST_ENGINE).
    static bool engineWanted();
    // The test command's server: TOOLDESK_TEST_PGHOST.
    static QString host();

private:
    QString m_host;
    QString m_name;
};
