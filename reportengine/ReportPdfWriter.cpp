#include "ReportPdfWriter.h"

#include "PdfSupplementaryText.h"
#include "PreparedReport.h"
#include "ReportError.h"
#include "ReportPainter.h"
#include "ReportPrinter.h"
#include "TfrxReport.h"
#include "data/WholeFileWriter.h"
#include "data/WorkCancelled.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <optional>

namespace ReportPdfWriter {

namespace {

void paint(const PreparedReport& report, QIODevice& device, const PdfSupplementaryText& supplementary,
           WorkProgress* progress)
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
    const int total = static_cast<int>(report.pages.size());
    for (int i = 0; i < total; ++i) {
        if (i > 0)
            writer.newPage();
        else if (supplementary.needed())
            supplementary.drawSamples(painter, dpi, dpi);
        pages.paintPage(painter, i, dpi, dpi);
        advanceOrCancel(progress, i + 1, total);
    }
    painter.end();
}

} // namespace

void write(const PreparedReport& report, QIODevice& device, WorkProgress* progress)
{
    const PdfSupplementaryText supplementary(report);
    if (!supplementary.needed()) {
        paint(report, device, supplementary, progress);
        return;
    }
    // Emoji and other characters beyond the first 65,536 get their names
    // once the whole document is written.
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    paint(report, written, supplementary, progress);
    const QByteArray document = supplementary.named(written.data());
    if (device.write(document) != document.size())
        throw ReportError(QStringLiteral("Cannot write the PDF document: %1").arg(device.errorString()));
}

void buildAndWrite(TfrxReport& report, const QString& fileName, WorkProgress* progress)
{
    WholeFileWriter::write(fileName, [&](QIODevice& device) {
        // The document goes to memory first (a small part of what its pages
        // take as built): characters beyond the first 65,536 get their names
        // once it is whole.
        QBuffer written;
        written.open(QIODevice::WriteOnly);
        PreparedReport built; // the page being written and the styles so far
        std::optional<QPdfWriter> writer;
        QPainter painter;
        std::optional<ReportPainter> pages;
        std::optional<PdfSupplementaryText> supplementary;
        size_t styles = 0;
        int dpi = 0;
        report.BuildPages(
            built,
            [&](PreparedReport&) {
                if (!writer) {
                    writer.emplace(&written);
                    writer->setCreator(QStringLiteral("tooldesk"));
                    writer->setTitle(built.title);
                    writer->setPageLayout(ReportPrinter::pageLayout(built));
                    if (!painter.begin(&*writer))
                        throw ReportError(QStringLiteral("Cannot start the PDF document"));
                    dpi = writer->resolution();
                    supplementary.emplace(built);
                } else {
                    writer->newPage();
                    supplementary->addPages(built);
                }
                // The styles grow as the report is built: their fonts with them.
                if (!pages || built.styles().size() != styles) {
                    pages.emplace(built);
                    styles = built.styles().size();
                }
                for (int i = 0; i < static_cast<int>(built.pages.size()); ++i) {
                    if (i > 0)
                        writer->newPage();
                    pages->paintPage(painter, i, dpi, dpi);
                }
            },
            progress);
        if (!writer)
            throw ReportError(QStringLiteral("The report has no pages"));
        // Outside the paper of the last page, where no reader takes text from.
        if (supplementary->needed())
            supplementary->drawSamples(painter, dpi, dpi);
        painter.end();
        const QByteArray document = supplementary->needed()
            ? supplementary->named(written.data(), PdfSupplementaryText::SamplesOn::LastPage)
            : written.data();
        // A short write is the file's: committing it says why (a full disk, ...).
        device.write(document);
    });
}

void write(const PreparedReport& report, const QString& fileName, WorkProgress* progress)
{
    // The PDF engine reports no write error: the writer's device keeps it.
    // A cancel unwinds through the writer, which drops its temporary file.
    WholeFileWriter::write(fileName, [&](QIODevice& device) { write(report, device, progress); });
}

} // namespace ReportPdfWriter
