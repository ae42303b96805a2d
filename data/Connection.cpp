#include "Connection.h"

#include "DbError.h"
#include "SqliteDialect.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("tooldesk-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Connection::Connection(std::unique_ptr<SqlDialect> dialect)
    : m_dialect(dialect ? std::move(dialect) : std::make_unique<SqliteDialect>())
    , m_name(nextConnectionName())
{
}

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_name);
    m_path = path;
    try {
        m_dialect->open(db, path);
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw;
    }
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
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

QSqlQuery Connection::run(const QString& sql, const QVariantList& params) const
{
    constexpr int kKeptStatements = 64;
    QSqlQuery q;
    const auto kept = m_statements.constFind(sql);
    if (kept != m_statements.constEnd() && !kept->isActive()) {
        q = *kept; // shares the prepared statement
    } else {
        q = QSqlQuery(database());
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            throw DbError(q.lastError().text());
        if (kept == m_statements.constEnd() && m_statements.size() < kKeptStatements)
            m_statements.insert(sql, q);
    }
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
    return q;
}

void Connection::exec(const QString& sql, const QVariantList& params)
{
    QSqlQuery q = run(sql, params);
    q.finish();
    const QString head = sql.trimmed().left(6).toUpper();
    if (head == u"ALTER " || head == u"CREATE" || head == u"DROP T")
        schemaChanged();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params)
{
    QSqlQuery q = run(sql, params);
    QVariant v = q.next() ? q.value(0) : QVariant();
    q.finish();
    return v;
}

QStringList Connection::userTables() const
{
    return m_dialect->userTables(database());
}

bool Connection::hasTable(const QString& name) const
{
    return userTables().contains(name, Qt::CaseInsensitive);
}

QList<TableColumn> Connection::columns(const QString& table)
{
    const QString key = table.toLower();
    auto it = m_columns.find(key);
    if (it == m_columns.end()) {
        QList<TableColumn> list;
        for (const auto& [name, type] : m_dialect->columns(database(), table))
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
    m_connection.exec(m_connection.dialect().beginWrite());
}

Connection::Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_connection.exec(QStringLiteral("ROLLBACK"));
    } catch (const DbError&) {
        // Nothing more can be done; SQLite has already rolled back on most errors.
    }
}

void Connection::Transaction::commit()
{
    m_connection.exec(QStringLiteral("COMMIT"));
    m_done = true;
}
