#pragma once

#include <QString>

class PreparedReport;
class QIODevice;

// Writes built pages as a PDF file on A4 paper in the report's orientation.
namespace ReportPdfWriter {

// Throws FileWriteError when the file cannot be written (ReportError when
// the PDF cannot be started); an existing file then stays as it was.
void write(const PreparedReport& report, const QString& fileName);
void write(const PreparedReport& report, QIODevice& device);

} // namespace ReportPdfWriter
