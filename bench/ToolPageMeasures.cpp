#include "ToolPageMeasures.h"

#include "BenchPlatform.h"
#include "app/Application.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "tools/TfmTools.h"
#include "widgets/DbGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>

namespace {

double since(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

bool measureToolPage(const QString& folder, int runs, ToolPageRun& run, QString& error)
{
    BenchPlatform seams;
    Application application(folder, seams.platform);
    application.setTimersEnabled(false);
    if (!application.start()) {
        error = QStringLiteral("the program did not start: %1").arg(seams.shown());
        return false;
    }
    application.show();
    TfmMain& main = *application.main();
    auto& tools = *static_cast<TfmTools*>(application.window(QStringLiteral("TfmTools")));
    auto* typeBox = tools.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    auto* grid = tools.findChild<DbGrid*>(QStringLiteral("DBGrid1"));
    // The most common type, as a storekeeper would look for drills.
    run.typeText = application.session()
                       .connection()
                       .scalar(QStringLiteral(
                           "SELECT Tool_Type FROM Tools GROUP BY Tool_Type ORDER BY COUNT(*) DESC LIMIT 1"))
                       .toString();
    for (int i = 0; i < runs; ++i) {
        main.Panel4Click();
        typeBox->clear();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        application.showToolList();
        grid->viewport()->repaint();
        run.openMs.push_back(since(t));
        run.rowsShown = grid->model()->rowCount();

        typeBox->setText(run.typeText);
        QCoreApplication::processEvents();
        t.restart();
        tools.Search();
        grid->viewport()->repaint();
        run.narrowMs.push_back(since(t));
        if (grid->model()->rowCount() == 0) {
            error = QStringLiteral("the narrowed search listed nothing");
            return false;
        }
    }
    return true;
}
