#include "LiveJournalMeasures.h"

#include "BenchPlatform.h"
#include "app/Application.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "desk/TfmMain.h"
#include "widgets/DbGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollBar>

namespace {

constexpr int kTopRow = 140;
constexpr int kCurrentRow = 150;

} // namespace

bool measureLiveJournal(const QString& folder, const QString& dbPath, int rounds, LiveJournalRun& run, QString& error)
{
    BenchPlatform seams;
    Application application(folder, seams.platform);
    application.setTimersEnabled(false);
    if (!application.start()) {
        error = QStringLiteral("the program did not start on %1: %2").arg(folder, seams.shown());
        return false;
    }
    application.show();
    TfmMain* main = application.main();
    auto* grid = main->findChild<DbGrid*>(QStringLiteral("grid_History"));
    Query& journal = application.session().qHistory;
    QCoreApplication::processEvents();
    while (journal.fetchedCount() <= kCurrentRow && journal.canFetchMore())
        journal.fetchMore();
    QCoreApplication::processEvents();
    journal.setRecNo(kCurrentRow);
    grid->verticalScrollBar()->setValue(kTopRow);
    grid->viewport()->repaint();
    const int idColumn = journal.fieldIndex(QStringLiteral("ID"));
    const qint64 lookedAt = journal.value(kCurrentRow, idColumn).toLongLong();

    try {
        Connection otherDesk;
        otherDesk.open(dbPath);
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer timer;
            timer.start();
            main->followOtherDesks();
            run.quietMs.push_back(timer.nsecsElapsed() / 1e6);

            {
                Connection::Transaction t(otherDesk);
                otherDesk.exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, Operation, FIO) VALUES (?, ?, ?, ?)"),
                               {QStringLiteral("U-other"), QStringLiteral("T-other"), QStringLiteral("Выдан"),
                                QStringLiteral("round %1").arg(i)});
                t.commit();
            }
            const qint64 written = otherDesk.scalar(QStringLiteral("SELECT MAX(ID) FROM History")).toLongLong();

            timer.restart();
            main->followOtherDesks();
            grid->viewport()->repaint();
            run.followMs.push_back(timer.nsecsElapsed() / 1e6);

            if (journal.value(0, idColumn).toLongLong() != written || journal.integer(QStringLiteral("ID")) != lookedAt)
                ++run.misplaced;
        }
    } catch (const DbError& e) {
        error = e.text();
        return false;
    }
    return true;
}
