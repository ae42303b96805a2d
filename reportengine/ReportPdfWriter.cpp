#include "ReportPdfWriter.h"

#include "PdfSupplementaryText.h"
#include "PreparedReport.h"
#include "ReportError.h"
#include "ReportPainter.h"
#include "ReportPrinter.h"
#include "data/WholeFileWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace ReportPdfWriter {

namespace {

void paint(const PreparedReport& report, QIODevice& device, const PdfSupplementaryText& supplementary)
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
        else if (supplementary.needed())
            supplementary.drawSamples(painter, dpi, dpi);
        pages.paintPage(painter, i, dpi, dpi);
    }
    painter.end();
}

} // namespace

void write(const PreparedReport& report, QIODevice& device)
{
    const PdfSupplementaryText supplementary(report);
    if (!supplementary.needed()) {
        paint(report, device, supplementary);
        return;
    }
    // Emoji and other characters beyond the first 65,536 get their names
    // once the whole document is written.
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    paint(report, written, supplementary);
    const QByteArray document = supplementary.named(written.data());
    if (device.write(document) != document.size())
        throw ReportError(QStringLiteral("Cannot write the PDF document: %1").arg(device.errorString()));
}

void write(const PreparedReport& report, const QString& fileName)
{
    // The PDF engine reports no write error: the writer's device keeps it.
    WholeFileWriter::write(fileName, [&report](QIODevice& device) { write(report, device); });
}

} // namespace ReportPdfWriter
