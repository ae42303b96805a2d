#pragma once

#include <QObject>
#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <optional>

class Connection;

// Tells cheaply whether another desk has committed a change to the database
// since the last look: a counter the engine keeps, read on each check, or
// else the notifications the other desks send when they commit. This desk's
// own commits never count. After the connection to a server was opened
// again, the watch subscribes again by itself and reports a change once:
// what was committed meanwhile was never announced to it.
class ChangeWatch : public QObject
{
    Q_OBJECT
public:
    explicit ChangeWatch(Connection& connection, QObject* parent = nullptr);

    // Watches the open connection from now on: only later commits count.
    // Start again after the connection is opened again. Throws DbError.
    void start();
    // False where the engine offers neither way.
    bool isWatching() const { return m_watching; }
    // True once for everything other desks committed since the last call or
    // the start, and once after a reconnection. Throws DbError, while the
    // server is away with cause ConnectionLost or ServerUnreachable.
    bool changedElsewhere();
    // True once for each time the connection was opened again since the
    // first start(), a reconnection to a server or a file opened anew:
    // nobody told this desk what happened meanwhile, so whatever is in view
    // is read again. Asked when the change is shown, not at each look.
    bool reconnected();
    // Has the server pass on the notices waiting for this connection and the
    // driver read them; any from another desk is emitted as noticed().
    // Throws DbError.
    void collectNotices();

signals:
    // Another desk's commit was announced (engines with notifications).
    void noticed();

private:
    void subscribe();
    void notice(const QString& channel, QSqlDriver::NotificationSource source);

    Connection& m_db;
    QString m_channel;
    // The connection's opening the subscription was made on.
    quint64 m_subscribedOn = 0;
    // The opening reconnected() last answered for; none before the first start.
    std::optional<quint64> m_openingShown;
    QVariant m_counter;
    bool m_watching = false;
    bool m_noticed = false;
};
