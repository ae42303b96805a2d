// Copied beside an installed program, it loads the print module as the
// program does (from beside it or ../lib/tooldesk/) and shows a one-page
// report in the print preview; prints "painted" when the page was drawn.
#include "reportengine/PrintModule.h"
#include "reportengine/ReportError.h"

#include <QApplication>
#include <QDialog>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextStream>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    bool painted = false;
    PrintPreviewRequest request;
    request.title = QStringLiteral("probe");
    request.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    request.paint = [&](QPagedPaintDevice& printer) {
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        painter.drawText(QPointF(100, 100), QStringLiteral("tooldesk"));
        painted = true;
        return true;
    };
    try {
        const std::unique_ptr<QDialog> preview = PrintModule::makePreview(request, nullptr);
        preview->show();
        QTimer::singleShot(0, preview.get(), &QDialog::close);
        for (int i = 0; i < 20 && !painted; ++i)
            QApplication::processEvents();
    } catch (const ReportError& e) {
        out << e.text() << Qt::endl;
        return 1;
    }
    out << (painted ? "painted" : "not painted") << Qt::endl;
    return painted ? 0 : 1;
}
