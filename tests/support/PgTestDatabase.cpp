#include "PgTestDatabase.h"

#include "data/DbError.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr const char* kUser = "postgres";

// Runs statements on a database of the server as its superuser.
void runAsAdmin(const QString& host, const QString& database, const QStringList& statements)
{
    static QAtomicInt counter;
    const QString connectionName = QStringLiteral("pg-test-admin-%1").arg(counter.fetchAndAddRelaxed(1));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(host);
        db.setDatabaseName(database);
        db.setUserName(QLatin1String(kUser));
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            for (const QString& sql : statements) {
                QSqlQuery q(db);
                if (!q.exec(sql)) {
                    failure = sql + QStringLiteral(": ") + q.lastError().text();
                    break;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!failure.isEmpty())
        throw DbError(failure);
}

} // namespace

bool PgTestDatabase::engineWanted()
{
    return qEnvironmentVariable("TOOLDESK_TEST_ENGINE").compare(u"PostgreSQL", Qt::CaseInsensitive) == 0;
}

QString PgTestDatabase::host()
{
    return qEnvironmentVariable("TOOLDESK_TEST_PGHOST");
}

PgTestDatabase::PgTestDatabase(const QString& serverHost)
    : m_host(serverHost)
{
    if (m_host.isEmpty())
        qFatal("TOOLDESK_TEST_PGHOST is not set: the PostgreSQL tests need the test server. Run scripts/test.sh, or "
               "start it with scripts/pg-test-server.sh start DIR and export TOOLDESK_TEST_PGHOST=DIR");
    static QAtomicInt counter;
    // Unique across the test processes that ctest runs side by side.
    m_name = QStringLiteral("tooldesk_test_%1_%2_%3")
                 .arg(QCoreApplication::applicationPid())
                 .arg(counter.fetchAndAddRelaxed(1))
                 .arg(QRandomGenerator::global()->bounded(1000000));
    try {
        runAsAdmin(m_host, QStringLiteral("postgres"),
                   {QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(m_name)});
    } catch (const DbError& e) {
        qFatal("cannot create the test database on the server in %s: %s", qPrintable(m_host), qPrintable(e.text()));
    }
}

PgTestDatabase::~PgTestDatabase()
{
    try {
        runAsAdmin(m_host, QStringLiteral("postgres"),
                   {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)});
    } catch (const DbError& e) {
        qWarning("test database %s not dropped: %s", qPrintable(m_name), qPrintable(e.text()));
    }
}

ConnectionDescription PgTestDatabase::description() const
{
    return ConnectionDescription::server(m_host, m_name, QLatin1String(kUser));
}

QString PgTestDatabase::iniSection() const
{
    return QStringLiteral("[DATABASE]\nEngine=PostgreSQL\nHost=%1\nName=%2\nUser=%3\n")
        .arg(m_host, m_name, QLatin1String(kUser));
}

QString PgTestDatabase::iniWith(const QString& iniText) const
{
    QString text = iniText;
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    return text + iniSection();
}

void PgTestDatabase::adminExec(const QString& sql) const
{
    runAsAdmin(m_host, m_name, {sql});
}

void PgTestDatabase::setReachable(bool reachable) const
{
    QStringList statements{QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                               .arg(m_name, reachable ? QStringLiteral("true") : QStringLiteral("false"))};
    if (!reachable)
        statements << QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1'")
                          .arg(m_name);
    runAsAdmin(m_host, QStringLiteral("postgres"), statements);
}
