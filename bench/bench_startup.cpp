// The start-up child of bench_desk: the program alone, started on a program
// folder, shown, and its journal painted; then one line, "ready rows=N
// peak_kb=K". A program of its own, so the measured memory is the program's
// and not that of the harness that drives the other measures.
#include "BenchApplication.h"
#include "BenchPlatform.h"
#include "PeakMemory.h"
#include "app/Application.h"
#include "desk/TfmMain.h"
#include "widgets/DbGrid.h"

#include <QElapsedTimer>
#include <QEvent>
#include <cstdio>

namespace {

class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv)
{
    BenchApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM_FOLDER\n");
        return 2;
    }
    BenchPlatform seams;
    Application application(QString::fromLocal8Bit(argv[1]), seams.platform);
    application.setTimersEnabled(false);
    if (!application.start()) {
        std::fprintf(stderr, "the program did not start: %s\n", qPrintable(seams.shown()));
        return 1;
    }
    application.show();
    auto* grid = application.main()->findChild<DbGrid*>(QStringLiteral("grid_History"));
    PaintCounter paints;
    grid->viewport()->installEventFilter(&paints);
    QElapsedTimer limit;
    limit.start();
    while (paints.count == 0 || grid->model()->rowCount() == 0) {
        if (limit.elapsed() > 60000) {
            std::fprintf(stderr, "the journal was not painted within a minute\n");
            return 1;
        }
        QCoreApplication::processEvents();
        grid->viewport()->repaint();
    }
    std::printf("ready rows=%d peak_kb=%lld\n", grid->model()->rowCount(), static_cast<long long>(peakRssKb()));
    std::fflush(stdout);
    return 0;
}
