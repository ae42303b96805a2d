#include "BenchServer.h"

#include "core/DatabaseSettings.h"
#include "core/IniFile.h"
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/DbError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

BenchServer::BenchServer(ConnectionDescription server)
    : m_server(std::move(server))
{
}

BenchServer::~BenchServer()
{
    if (m_iniPath.isEmpty())
        return;
    QFile f(m_iniPath);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(m_iniText);
}

bool BenchServer::admin(const QString& sql, QString& error) const
{
    const QString connection = QStringLiteral("bench-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(m_server.host);
        db.setPort(m_server.port);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setUserName(m_server.user);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok)
                error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

bool BenchServer::copyFrom(const QString& dbPath, double& seconds, QString& error)
{
    // The name is the benchmark's own option, written into the statement as an identifier.
    const QString quoted = u'"' + QString(m_server.name).replace(u'"', QStringLiteral("\"\"")) + u'"';
    if (!admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quoted), error)
        || !admin(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(quoted), error))
        return false;
    QElapsedTimer timer;
    timer.start();
    try {
        Connection source;
        source.open(dbPath);
        Connection target;
        target.open(m_server);
        DatabaseCopy::copy(source, target);
    } catch (const DbError& e) {
        error = e.text();
        return false;
    }
    seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    return true;
}

bool BenchServer::pointFolderAt(const QString& programFolder, QString& error)
{
    const QString ini = programFolder + QStringLiteral("Data/Config.ini");
    QFile f(ini);
    if (!f.open(QIODevice::ReadOnly)) {
        error = ini + QStringLiteral(": ") + f.errorString();
        return false;
    }
    m_iniText = f.readAll();
    f.close();
    m_iniPath = ini;
    IniFile file(ini);
    const QString section = QLatin1String(DatabaseSettings::kSection);
    const bool written = file.write(section, QStringLiteral("Engine"), QStringLiteral("PostgreSQL"))
        && file.write(section, QStringLiteral("Host"), m_server.host)
        && file.write(section, QStringLiteral("Port"), QString::number(m_server.port))
        && file.write(section, QStringLiteral("Name"), m_server.name)
        && file.write(section, QStringLiteral("User"), m_server.user);
    if (!written)
        error = ini + QStringLiteral(": not written");
    return written;
}
