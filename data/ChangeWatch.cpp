#include "ChangeWatch.h"

#include "Connection.h"
#include "DbError.h"

#include <QSqlError>
#include <utility>

ChangeWatch::ChangeWatch(Connection& connection, QObject* parent)
    : QObject(parent)
    , m_db(connection)
{
}

void ChangeWatch::start()
{
    m_watching = false;
    m_noticed = false;
    m_counter.clear();
    const SqlDialect& d = m_db.dialect();
    m_channel = d.changeChannel();
    if (!m_channel.isEmpty()) {
        QSqlDriver* driver = m_db.database().driver();
        if (!driver)
            throw DbError(QStringLiteral("The database is not open"));
        if (!driver->subscribedToNotifications().contains(m_channel) && !driver->subscribeToNotification(m_channel))
            throw DbError(DbError::Cause::Other, m_db.path(), driver->lastError().text());
        connect(driver, &QSqlDriver::notification, this, &ChangeWatch::notice, Qt::UniqueConnection);
        m_watching = true;
        return;
    }
    if (!d.changeCounter().isEmpty()) {
        m_counter = m_db.scalar(d.changeCounter());
        m_watching = true;
    }
}

bool ChangeWatch::changedElsewhere()
{
    if (!m_watching)
        return false;
    if (!m_channel.isEmpty()) {
        collectNotices();
        return std::exchange(m_noticed, false);
    }
    const QVariant now = m_db.scalar(m_db.dialect().changeCounter());
    if (now == m_counter)
        return false;
    m_counter = now;
    return true;
}

void ChangeWatch::collectNotices()
{
    // An idle connection is not always told of a notice at once: the server
    // may hold it until the connection's next statement, and Qt's driver
    // reads what came only when the socket wakes the event loop. So each
    // look sends the smallest statement and has the driver read what is
    // there now, rather than at some later wake-up.
    m_db.scalar(QStringLiteral("SELECT 1"));
    QSqlDriver* driver = m_db.database().driver();
    if (driver && driver->metaObject()->indexOfSlot("_q_handleNotification()") >= 0)
        QMetaObject::invokeMethod(driver, "_q_handleNotification", Qt::DirectConnection);
}

void ChangeWatch::notice(const QString& channel, QSqlDriver::NotificationSource source)
{
    // Our own commits were shown when they were made.
    if (channel != m_channel || source == QSqlDriver::SelfSource)
        return;
    m_noticed = true;
    emit noticed();
}
