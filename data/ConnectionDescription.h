#pragma once

#include <QString>

// Which database the program works on: the embedded file, or a database on
// a PostgreSQL server for a store with desks on several computers. The
// password is never part of it: libpq finds it (password file, service
// file, Kerberos or peer login).
struct ConnectionDescription {
    enum class Engine { Sqlite, Postgres };

    Engine engine = Engine::Sqlite;
    QString path; // the database file, embedded engine only
    QString host; // a name, an address or the folder of a Unix socket
    int port = 5432;
    QString name;
    QString user;
    QString sslMode; // libpq's sslmode; empty: libpq's default

    static ConnectionDescription file(const QString& path)
    {
        ConnectionDescription d;
        d.path = path;
        return d;
    }

    // A database on a server, at the default port, with libpq's default sslmode.
    static ConnectionDescription server(const QString& host, const QString& name, const QString& user)
    {
        ConnectionDescription d;
        d.engine = Engine::Postgres;
        d.host = host;
        d.name = name;
        d.user = user;
        return d;
    }

    bool isServer() const { return engine == Engine::Postgres; }
    QString engineName() const { return isServer() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"); }
    // What errors and the settings page name: the file, or user, host, port and database.
    QString displayName() const
    {
        if (!isServer())
            return path;
        return QStringLiteral("%1@%2:%3/%4")
            .arg(user, host.isEmpty() ? QStringLiteral("localhost") : host)
            .arg(port)
            .arg(name);
    }
};
