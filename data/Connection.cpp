#include "Connection.h"

#include "DbError.h"
#include "PostgresDialect.h"
#include "SqliteDialect.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <chrono>

namespace {

// A server that is away is asked again at most about once a second (the
// desk's idle look may ask at each of its ticks); after a slow attempt (a
// host that does not answer at all) only after three times as long, so the
// window spends most of its time usable.
constexpr qint64 kReconnectSpacingMs = 750;
constexpr qint64 kReconnectSlowFactor = 3;

qint64 steadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("tooldesk-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Connection::Connection(std::unique_ptr<SqlDialect> dialect)
    : m_dialect(dialect ? std::move(dialect) : std::make_unique<SqliteDialect>())
    , m_fileSystem(std::make_unique<FileSystemProbe>())
    , m_name(nextConnectionName())
    , m_clock(steadyMilliseconds)
{
}

void Connection::setClock(std::function<qint64()> milliseconds)
{
    m_clock = milliseconds ? std::move(milliseconds) : std::function<qint64()>(steadyMilliseconds);
}

void Connection::setFileSystemProbe(std::unique_ptr<FileSystemProbe> probe)
{
    m_fileSystem = probe ? std::move(probe) : std::make_unique<FileSystemProbe>();
}

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path)
{
    open(ConnectionDescription::file(path));
}

void Connection::open(const ConnectionDescription& description)
{
    close();
    if (description.isServer())
        m_dialect = std::make_unique<PostgresDialect>(description);
    else if (m_dialect->isServer())
        m_dialect = std::make_unique<SqliteDialect>();
    m_description = description;
    m_reconnect = false;
    m_reconnectFailure.reset();
    openDescribed();
}

void Connection::openDescribed()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_name);
    m_path = m_description.displayName();
    try {
        m_dialect->open(db, m_path, {m_busyTimeoutMs, m_fileSystem.get()});
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw;
    }
    m_reconnect = false;
    ++m_openings;
}

void Connection::dropLink()
{
    // The driver goes first, closing the connection: the kept statements
    // then die without asking the engine to free each one, which a server
    // that is away would only answer with a warning apiece.
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
    m_statements.clear();
}

void Connection::close()
{
    dropLink();
    m_columns.clear();
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlDatabase Connection::liveDatabase()
{
    // The driver may have seen the server go before any statement did.
    if (!m_reconnect && m_dialect->isServer() && QSqlDatabase::contains(m_name) && !isOpen())
        m_reconnect = true;
    reconnectIfLost();
    if (!isOpen())
        throw DbError(DbError::Cause::Other, m_path, QStringLiteral("the database is not open"));
    return database();
}

JournalMode Connection::journalMode() const
{
    return m_dialect->journalMode(database());
}

bool Connection::checkpoint()
{
    return m_dialect->checkpoint(database(), m_path, m_busyTimeoutMs);
}

bool Connection::logFileLost() const
{
    return isOpen() && m_dialect->logFileLost(m_path);
}

void Connection::reopen()
{
    close();
    openDescribed();
}

void Connection::backupTo(const QString& file, WorkProgress* progress)
{
    if (!isOpen())
        throw DbError(DbError::Cause::Other, m_path, QStringLiteral("the database is not open"));
    m_dialect->backup(database(), m_path, file, progress);
}

DbError Connection::errorOf(const QSqlQuery& query) const
{
    const DbError::Cause cause = m_dialect->causeOf(database(), query.lastError());
    if (cause == DbError::Cause::ConnectionLost)
        m_reconnect = true;
    return DbError(cause, m_path, query.lastError().text());
}

void Connection::reconnectIfLost()
{
    if (!m_reconnect)
        return;
    if (m_inTransaction) // its work is gone: nothing more of it may run on a new connection
        throw DbError(DbError::Cause::ConnectionLost, m_path, QStringLiteral("the connection to the server was lost"));
    const qint64 startMs = m_clock();
    if (m_reconnectFailure && startMs < m_nextReconnectMs)
        throw *m_reconnectFailure;
    // Whatever was prepared or begun died with the old connection.
    dropLink();
    try {
        openDescribed();
    } catch (const DbError& e) {
        // Whatever the server answered, the desk is without it until it is back.
        m_reconnectFailure = e.cause() == DbError::Cause::ConnectionLost
            ? e
            : e.withCause(DbError::Cause::ServerUnreachable);
        m_nextReconnectMs = startMs + std::max(kReconnectSpacingMs, kReconnectSlowFactor * (m_clock() - startMs));
        throw *m_reconnectFailure;
    }
    m_reconnectFailure.reset();
}

Statement::Statement(const Connection* owner, QString sql, QSqlQuery&& query)
    : m_owner(owner)
    , m_sql(std::move(sql))
    , m_query(std::move(query))
{
}

Statement::Statement(Statement&& other) noexcept
    : m_owner(std::exchange(other.m_owner, nullptr))
    , m_sql(std::move(other.m_sql))
    , m_query(std::move(other.m_query))
{
}

Statement::~Statement()
{
    if (!m_owner)
        return;
    m_query.finish(); // no read stays open after its reader is done
    m_owner->keep(m_sql, std::move(m_query));
}

void Connection::keep(const QString& sql, QSqlQuery&& query) const
{
    constexpr int kKeptStatements = 64;
    // One prepared on a connection that has since been replaced is of no use.
    if (isOpen() && query.driver() == database().driver() && !m_statements.contains(sql)
        && m_statements.size() < kKeptStatements)
        m_statements.insert(sql, std::move(query));
}

Statement Connection::run(const QString& sql, const QVariantList& params)
{
    return runAs(Kind::Read, sql, params);
}

Statement Connection::write(const QString& sql, const QVariantList& params)
{
    return runAs(Kind::Change, sql, params);
}

void Connection::exec(const QString& sql, const QVariantList& params)
{
    Statement done = write(sql, params);
}

Statement Connection::command(const QString& sql, const QVariantList& params)
{
    return runAs(Kind::Command, sql, params);
}

Statement Connection::runAs(Kind kind, const QString& sql, const QVariantList& params)
{
    try {
        Statement done = runOnce(kind, sql, params);
        // A change saved on its own (an edited card, a journal note) is told
        // to the other desks as a transaction's is at its commit.
        if (kind == Kind::Change && !m_inTransaction && !m_dialect->changeNotification().isEmpty())
            announceChange();
        return done;
    } catch (const DbError& e) {
        // A read outside a transaction, or a transaction's start, is asked
        // again on a new connection; a write may have been done before the
        // answer was lost, and a transaction's work is gone: those fail, to
        // be done again by the user.
        const bool askableAgain = kind == Kind::Read || kind == Kind::TransactionStart;
        if (e.cause() != DbError::Cause::ConnectionLost || m_inTransaction || !askableAgain)
            throw;
    }
    return runOnce(kind, sql, params);
}

void Connection::announceChange()
{
    // Where the engine has no notices, the other desks poll for changes.
    const QString notice = m_dialect->changeNotification();
    if (!notice.isEmpty())
        runOnce(Kind::Command, notice, {});
}

Statement Connection::runOnce(Kind kind, const QString& sql, const QVariantList& params)
{
    const QSqlDatabase db = liveDatabase();
    const bool preparable = kind == Kind::Read || kind == Kind::Change;
    if (params.isEmpty() && m_dialect->isServer() && !preparable) {
        // The server prepares only queries and row changes; transaction
        // control and schema statements run as they are.
        QSqlQuery direct(db);
        direct.setForwardOnly(true);
        if (!direct.exec(sql))
            throw errorOf(direct);
        return Statement(nullptr, sql, std::move(direct));
    }
    QSqlQuery q;
    if (const auto kept = m_statements.find(sql); kept != m_statements.end()) {
        q = std::move(kept.value()); // taken out while in use: a nested run prepares its own
        m_statements.erase(kept);
    } else {
        q = QSqlQuery(db);
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            throw errorOf(q);
    }
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    Statement statement(this, sql, std::move(q));
    if (!statement->exec())
        throw errorOf(*statement);
    return statement;
}

void Connection::changeSchema(const QString& sql, const QVariantList& params)
{
    command(sql, params);
    schemaChanged();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params)
{
    Statement q = run(sql, params);
    return q->next() ? m_dialect->fromEngine(q->value(0)) : QVariant();
}

Statement Connection::run(const Select& select)
{
    return run(select.ordered(*m_dialect), select.params());
}

QVariant Connection::scalar(const Select& select)
{
    return scalar(select.ordered(*m_dialect), select.params());
}

bool Connection::exists(const Select& select)
{
    Select first = select;
    return run(first.limit(1))->next();
}

qint64 Connection::count(const Select& select)
{
    return scalar(select.counted(*m_dialect), select.params()).toLongLong();
}

QVariant Connection::largest(const Select& select, const QString& column)
{
    return scalar(select.largest(*m_dialect, column), select.params());
}

int Connection::exec(const Update& update)
{
    return write(update.text(*m_dialect), update.params())->numRowsAffected();
}

QStringList Connection::userTables()
{
    return m_dialect->userTables(liveDatabase());
}

QStringList Connection::indexNames()
{
    return m_dialect->indexNames(liveDatabase());
}

bool Connection::hasTable(const QString& name)
{
    return userTables().contains(name, Qt::CaseInsensitive);
}

QList<TableColumn> Connection::columns(const QString& table)
{
    const QString key = table.toLower();
    auto it = m_columns.find(key);
    if (it == m_columns.end()) {
        QList<TableColumn> list;
        for (const auto& [name, type] : m_dialect->columns(liveDatabase(), table))
            list.append({name, m_dialect->kindOfDeclaredType(type)});
        it = m_columns.insert(key, list);
    }
    return it.value();
}

void Connection::schemaChanged()
{
    m_columns.clear();
    m_statements.clear();
}

Connection::Transaction::Transaction(Connection& connection)
    : m_connection(connection)
{
    Statement begun = m_connection.runAs(Kind::TransactionStart, m_connection.dialect().beginWrite(), {});
    m_connection.m_inTransaction = true;
}

Connection::Transaction::~Transaction()
{
    m_connection.m_inTransaction = false;
    if (m_done || m_connection.m_reconnect)
        return; // a lost connection has taken its transaction with it
    try {
        m_connection.command(QStringLiteral("ROLLBACK"));
    } catch (const DbError&) {
        // Nothing more can be done; SQLite has already rolled back on most errors.
    }
}

void Connection::Transaction::commit()
{
    // Other desks hear of the change when it commits, never of one rolled back.
    m_connection.announceChange();
    m_connection.command(QStringLiteral("COMMIT"));
    m_done = true;
    m_connection.m_inTransaction = false;
}
