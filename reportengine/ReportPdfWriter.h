#pragma once

#include <QString>

class PreparedReport;
class TfrxReport;
class QIODevice;
class WorkProgress;

// Writes built pages as a PDF file on A4 paper in the report's orientation.
namespace ReportPdfWriter {

// Throws FileWriteError when the file cannot be written (ReportError when
// the PDF cannot be started, WorkCancelled when progress was cancelled); an
// existing file then stays as it was and no other is left.
void write(const PreparedReport& report, const QString& fileName, WorkProgress* progress = nullptr);
void write(const PreparedReport& report, QIODevice& device, WorkProgress* progress = nullptr);

// Builds report afresh and writes each page as soon as it is built, never
// holding all of them: for a long report that goes only to a file. Its
// prepared() pages stay as they were. Throws as write() and as building.
void buildAndWrite(TfrxReport& report, const QString& fileName, WorkProgress* progress = nullptr);

} // namespace ReportPdfWriter
