#include "ChangeWatch.h"

#include "Connection.h"
#include "DbError.h"

#include <QCoreApplication>
#include <QSqlError>
#include <utility>

ChangeWatch::ChangeWatch(Connection& connection, QObject* parent)
    : QObject(parent)
    , m_db(connection)
{
}

void ChangeWatch::start()
{
    if (!m_openingShown)
        m_openingShown = m_db.openings();
    m_watching = false;
    m_noticed = false;
    m_counter.clear();
    const SqlDialect& d = m_db.dialect();
    m_channel = d.changeChannel();
    if (!m_channel.isEmpty()) {
        subscribe();
        m_watching = true;
        return;
    }
    if (!d.changeCounter().isEmpty()) {
        m_counter = m_db.scalar(d.changeCounter());
        m_watching = true;
    }
}

void ChangeWatch::subscribe()
{
    const QSqlDatabase db = m_db.liveDatabase();
    QSqlDriver* driver = db.driver();
    if (!driver->subscribedToNotifications().contains(m_channel) && !driver->subscribeToNotification(m_channel))
        throw DbError(m_db.dialect().causeOf(db, driver->lastError()), m_db.path(), driver->lastError().text());
    connect(driver, &QSqlDriver::notification, this, &ChangeWatch::notice, Qt::UniqueConnection);
    m_subscribedOn = m_db.openings();
}

bool ChangeWatch::changedElsewhere()
{
    if (!m_watching)
        return false;
    if (!m_channel.isEmpty()) {
        collectNotices(); // reconnects first when the server dropped the connection
        if (m_subscribedOn != m_db.openings()) {
            // The driver of the new connection has heard of no subscription,
            // and nobody told this desk what was committed in between: the
            // subscription first, then the reload this answer asks for, so
            // that nothing falls between the two.
            subscribe();
            m_noticed = false;
            return true;
        }
        return std::exchange(m_noticed, false);
    }
    const QVariant now = m_db.scalar(m_db.dialect().changeCounter());
    if (now == m_counter)
        return false;
    m_counter = now;
    return true;
}

bool ChangeWatch::reconnected()
{
    if (!m_openingShown || *m_openingShown == m_db.openings())
        return false;
    m_openingShown = m_db.openings();
    return true;
}

void ChangeWatch::collectNotices()
{
    // An idle connection is not always told of a notice at once: the server
    // may hold it until the connection's next statement. So each look sends
    // the smallest statement; notices that came with its answer were read
    // from the socket with it and wait in the driver, which has queued a
    // look at them for the event loop. That look is delivered here and now,
    // rather than at some later turn of the loop.
    m_db.scalar(QStringLiteral("SELECT 1"));
    if (QSqlDriver* driver = m_db.database().driver())
        QCoreApplication::sendPostedEvents(driver, QEvent::MetaCall);
}

void ChangeWatch::notice(const QString& channel, QSqlDriver::NotificationSource source)
{
    // Our own commits were shown when they were made.
    if (channel != m_channel || source == QSqlDriver::SelfSource)
        return;
    m_noticed = true;
    emit noticed();
}
