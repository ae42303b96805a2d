#include "ReportPdfWriter.h"

#include "PreparedReport.h"
#include "ReportError.h"
#include "ReportPainter.h"
#include "ReportPrinter.h"
#include "data/WholeFileWriter.h"

#include <QPainter>
#include <QPdfWriter>

namespace ReportPdfWriter {

void write(const PreparedReport& report, QIODevice& device)
{
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("tooldesk"));
    writer.setTitle(report.title);
    writer.setPageLayout(ReportPrinter::pageLayout(report));
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("Cannot start the PDF document"));
    const ReportPainter pages(report);
    const int dpi = writer.resolution();
    for (int i = 0; i < static_cast<int>(report.pages.size()); ++i) {
        if (i > 0)
            writer.newPage();
        pages.paintPage(painter, i, dpi, dpi);
    }
    painter.end();
}

void write(const PreparedReport& report, const QString& fileName)
{
    // The PDF engine reports no write error: the writer's device keeps it.
    WholeFileWriter::write(fileName, [&report](QIODevice& device) { write(report, device); });
}

} // namespace ReportPdfWriter
