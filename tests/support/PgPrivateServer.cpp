#include "PgPrivateServer.h"

#include <QProcess>

PgPrivateServer::PgPrivateServer()
{
    if (!m_dir.isValid())
        qFatal("no temporary folder for a private PostgreSQL server: %s", qPrintable(m_dir.errorString()));
    script({QStringLiteral("start"), host()});
    m_up = true;
}

PgPrivateServer::~PgPrivateServer()
{
    QProcess::execute(QStringLiteral(TOOLDESK_PG_TEST_SERVER), {QStringLiteral("stop"), host()});
}

void PgPrivateServer::down(const QString& mode)
{
    script({QStringLiteral("down"), host(), mode});
    m_up = false;
}

void PgPrivateServer::up()
{
    if (m_up)
        return;
    script({QStringLiteral("up"), host()});
    m_up = true;
}

void PgPrivateServer::script(const QStringList& arguments) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(TOOLDESK_PG_TEST_SERVER), arguments);
    // Waits against a hang only: initdb and a start take a few seconds.
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s %s failed: %s", TOOLDESK_PG_TEST_SERVER, qPrintable(arguments.join(u' ')), p.readAll().constData());
}
