#include "ServerRestartMeasures.h"

#include "BenchPlatform.h"
#include "app/Application.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <memory>

namespace {

// Runs the desk's event loop (its timers, its socket) for a while.
void runDesk(int milliseconds)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

bool script(QProcess& p, const QStringList& arguments, QString& error)
{
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(TOOLDESK_PG_TEST_SERVER), arguments);
    if (!p.waitForStarted()) {
        error = QStringLiteral("%1 %2: %3").arg(TOOLDESK_PG_TEST_SERVER, arguments.join(u' '), p.errorString());
        return false;
    }
    return true;
}

bool finished(QProcess& p, QString& error)
{
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    error = QStringLiteral("%1: %2").arg(TOOLDESK_PG_TEST_SERVER, QString::fromLocal8Bit(p.readAll()));
    return false;
}

qint64 newestShown(const Query& journal)
{
    return journal.isEmpty() ? 0 : journal.value(0, journal.fieldIndex(QStringLiteral("ID"))).toLongLong();
}

} // namespace

bool measureServerRestart(const QString& folder, const QString& host, const ConnectionDescription& server, int rounds,
                          ServerRestartRun& run, QString& error)
{
    BenchPlatform seams;
    Application application(folder, seams.platform);
    if (!application.start()) {
        error = QStringLiteral("the program did not start on %1: %2").arg(folder, seams.shown());
        return false;
    }
    application.show(); // its two timers run: the idle look each second
    const Query& journal = application.session().qHistory;
    for (int round = 0; round < rounds; ++round) {
        const QString mode = round % 2 == 0 ? QStringLiteral("immediate") : QStringLiteral("fast");
        // At any moment of the desk's second.
        runDesk(1500 + QRandomGenerator::global()->bounded(1000));
        QProcess down;
        if (!script(down, {QStringLiteral("down"), host, mode}, error) || !finished(down, error))
            return false;
        runDesk(2500); // looks while the server is away

        QProcess up;
        if (!script(up, {QStringLiteral("up"), host}, error))
            return false;
        // The server is back when another desk can log in again; it then
        // records at once.
        std::unique_ptr<Connection> other;
        QElapsedTimer since;
        since.start();
        while (!other && since.elapsed() < 120000) {
            runDesk(2);
            try {
                auto c = std::make_unique<Connection>();
                c->open(server);
                other = std::move(c);
            } catch (const DbError&) {
            }
        }
        if (!other || !finished(up, error)) {
            error = QStringLiteral("the server did not come back: ") + error;
            return false;
        }
        QElapsedTimer returned;
        returned.start();
        qint64 written = 0;
        try {
            Connection::Transaction t(*other);
            other->exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, Operation, FIO) VALUES (?, ?, ?, ?)"),
                        {QStringLiteral("U-other"), QStringLiteral("T-other"), QStringLiteral("Выдан"),
                         QStringLiteral("after restart %1").arg(round)});
            t.commit();
            written = other->scalar(QStringLiteral("SELECT MAX(ID) FROM History")).toLongLong();
        } catch (const DbError& e) {
            error = e.text();
            return false;
        }
        while (newestShown(journal) != written && returned.elapsed() < 20000)
            runDesk(1);
        if (newestShown(journal) != written) {
            ++run.lost;
            continue;
        }
        (mode == u"immediate" ? run.immediateMs : run.fastMs).push_back(returned.nsecsElapsed() / 1e6);
    }
    return true;
}
