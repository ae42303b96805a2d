#pragma once

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own, made by scripts/pg-test-server.sh
// in a temporary folder, for tests that stop and start a server under
// running desks: the test command's shared server must not go away under
// the other tests. Stopped and removed with the object; a server that
// cannot be made stops the test with the script's words.
class PgPrivateServer
{
public:
    PgPrivateServer();
    ~PgPrivateServer();
    PgPrivateServer(const PgPrivateServer&) = delete;
    PgPrivateServer& operator=(const PgPrivateServer&) = delete;

    // The folder of its Unix socket, for a connection's host.
    QString host() const { return m_dir.path(); }
    // Stops it as an administrator ("fast": connections are told) or a
    // crash would ("immediate": they are cut), keeping its databases.
    void down(const QString& mode);
    // Starts it again, if it is down; returns once it takes connections.
    void up();

private:
    void script(const QStringList& arguments) const;

    QTemporaryDir m_dir;
    bool m_up = false;
};
