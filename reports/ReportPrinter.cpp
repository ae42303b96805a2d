#include "ReportPrinter.h"

#include "PreparedReport.h"
#include "ReportPainter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace ReportPrinter {

void setUp(QPrinter& printer, const PreparedReport& report)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), report.orientation, QMarginsF(0, 0, 0, 0)));
    printer.setDocName(report.title);
}

bool print(QPrinter& printer, const PreparedReport& report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const ReportPainter pages(report);
    for (int i = 0; i < static_cast<int>(report.pages.size()); ++i) {
        if (i > 0)
            printer.newPage();
        pages.paintPage(painter, i, printer.resolution(), printer.resolution());
    }
    return painter.end();
}

} // namespace ReportPrinter
