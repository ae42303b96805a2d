#pragma once

#include "ConnectionDescription.h"
#include "DbError.h"
#include "FieldKind.h"
#include "FileSystemProbe.h"
#include "JournalMode.h"
#include "Select.h"
#include "SqlDialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

class Connection;
class WorkProgress;

// A statement that has run, with its rows to read. It is finished when it
// goes out of scope, and its prepared form goes back to the connection for
// the next run of the same text.
class Statement
{
public:
    Statement(const Connection* owner, QString sql, QSqlQuery&& query);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    ~Statement();

    QSqlQuery* operator->() { return &m_query; }
    QSqlQuery& operator*() { return m_query; }

private:
    const Connection* m_owner;
    QString m_sql;
    QSqlQuery m_query;
};

struct TableColumn {
    QString name;
    FieldKind kind;
};

// The one database connection of the program. Every query runs on it.
class Connection
{
public:
    explicit Connection(std::unique_ptr<SqlDialect> dialect = nullptr);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file; never creates, initialises or
    // changes a file it cannot use. Throws DbError naming the cause and the
    // file or folder it concerns, with the engine's text.
    void open(const QString& path);
    // Opens the database described: the file, or a database on a server
    // (which the program never creates). Throws DbError as above.
    void open(const ConnectionDescription& description);
    void close();
    bool isOpen() const;
    // The server dropped the connection and it has not been opened again
    // yet: every statement meanwhile first tries to reconnect (at most about
    // once a second; after a slow attempt, less often) and else fails with
    // cause ConnectionLost or ServerUnreachable and libpq's reason.
    bool isLost() const { return m_reconnect; }
    // Counts the openings of the connection, reconnections included: what
    // lived on the old one (a subscription to notices) must be made again.
    quint64 openings() const { return m_openings; }
    // The monotonic clock, in milliseconds, that spaces the attempts to
    // reconnect; tests step their own.
    void setClock(std::function<qint64()> milliseconds);
    // The file, or for a server database the user, host and database.
    const QString& path() const { return m_path; }
    const ConnectionDescription& description() const { return m_description; }

    // How long a statement waits for another desk before it fails as busy;
    // takes effect at the next open.
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }
    // Tells network folders from local ones (the default asks the system).
    void setFileSystemProbe(std::unique_ptr<FileSystemProbe> probe);
    // The log the engine keeps: a write-ahead log, or in a network folder
    // the rollback journal.
    JournalMode journalMode() const;

    // Writes the log back into the database file, so that a copy of the file
    // alone holds every committed event. Cheap when there is nothing to
    // write; never waits for other desks: false when one kept it from
    // completing (try again later). Throws DbError only on other failures.
    bool checkpoint();
    // True when the log file beside the database was deleted while this
    // connection writes into it (a hasty clean-up): checkpoint, then reopen.
    bool logFileLost() const;
    // Closes the connection and opens the same database again. Throws DbError.
    void reopen();
    // A consistent copy of the database at file, at any moment: written
    // beside it, checked and renamed into place, so a failure leaves no half
    // file. Refuses to overwrite the live database. Throws FileWriteError
    // (DbError when not open or on a server).
    void backupTo(const QString& file, WorkProgress* progress = nullptr);

    QSqlDatabase database() const;
    // The open database, reconnected first when the server dropped it;
    // throws DbError rather than hand out one that is closed.
    QSqlDatabase liveDatabase();
    const SqlDialect& dialect() const { return *m_dialect; }

    // The caller says what a statement does; its text is never read for it.
    // A read with bound values; the caller reads its rows. Asked again on a
    // new connection when the server dropped the old one.
    Statement run(const QString& sql, const QVariantList& params = {});
    // First column of the first row of a read, or an invalid value.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // A change of rows (insert, update, delete) with bound values; the
    // caller may read the rows affected. Told to the other desks.
    Statement write(const QString& sql, const QVariantList& params = {});
    void exec(const QString& sql, const QVariantList& params = {});
    // Transaction control, savepoints, the engine's settings and its
    // plans: run as they stand, neither told to the other desks nor asked
    // again.
    Statement command(const QString& sql, const QVariantList& params = {});
    // Declares, changes or drops a table, index, view or trigger, then
    // forgets the cached layouts and statements.
    void changeSchema(const QString& sql, const QVariantList& params = {});

    // The same for statements rendered from a description.
    Statement run(const Select& select);
    QVariant scalar(const Select& select);
    bool exists(const Select& select); // at least one row
    qint64 count(const Select& select);
    QVariant largest(const Select& select, const QString& column); // invalid when no row
    int exec(const Update& update);                                // rows changed

    QStringList userTables();
    QStringList indexNames();
    bool hasTable(const QString& name); // ignores letter case
    // Columns of a table in their order; cached until the schema changes.
    QList<TableColumn> columns(const QString& table);
    // Forget cached table layouts and statements (after another connection
    // changed the schema).
    void schemaChanged();

    // A write transaction: begun at construction, rolled back unless committed.
    class Transaction
    {
    public:
        explicit Transaction(Connection& connection);
        ~Transaction();
        void commit();

    private:
        Connection& m_connection;
        bool m_done = false;
    };

private:
    std::unique_ptr<SqlDialect> m_dialect;
    std::unique_ptr<FileSystemProbe> m_fileSystem;
    int m_busyTimeoutMs = 10000;
    QString m_name;
    QString m_path;
    ConnectionDescription m_description;
    // Set when the server dropped the connection: the next statement opens it again.
    mutable bool m_reconnect = false;
    quint64 m_openings = 0;
    std::function<qint64()> m_clock;
    // The last failed attempt to reconnect, told again until the next may be made.
    mutable std::optional<DbError> m_reconnectFailure;
    mutable qint64 m_nextReconnectMs = 0;
    bool m_inTransaction = false;
    QHash<QString, QList<TableColumn>> m_columns;
    friend class Statement;
    DbError errorOf(const QSqlQuery& query) const;
    // Tells the other desks of a change: inside a transaction just before it
    // commits, or after a change saved on its own.
    void announceChange();
    void openDescribed();
    // Closes the link to the engine; what is known of the tables stays.
    void dropLink();
    void reconnectIfLost();
    enum class Kind { Read, Change, Command, TransactionStart };
    Statement runAs(Kind kind, const QString& sql, const QVariantList& params);
    Statement runOnce(Kind kind, const QString& sql, const QVariantList& params);
    // Takes back a finished statement for the next run of its text.
    void keep(const QString& sql, QSqlQuery&& query) const;

    // Prepared statements by text: the desk runs the same dozen for every event.
    mutable QHash<QString, QSqlQuery> m_statements;
};
