#include "ReportPrinter.h"

#include "PreparedReport.h"
#include "ReportPainter.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace ReportPrinter {

QPageLayout pageLayout(const PreparedReport& report)
{
    return QPageLayout(QPageSize(QPageSize::A4), report.orientation, QMarginsF(0, 0, 0, 0));
}

bool print(QPagedPaintDevice& printer, const PreparedReport& report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const ReportPainter pages(report);
    for (int i = 0; i < static_cast<int>(report.pages.size()); ++i) {
        if (i > 0)
            printer.newPage();
        pages.paintPage(painter, i, printer.logicalDpiX(), printer.logicalDpiY());
    }
    return painter.end();
}

} // namespace ReportPrinter
