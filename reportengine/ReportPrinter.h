#pragma once

#include <QPageLayout>

class PreparedReport;
class QPagedPaintDevice;

// Built pages on a printer: A4 in the report's orientation, painted from the
// paper's corner, so the report's own margins are the printed ones.
namespace ReportPrinter {

// A4 in the report's orientation, no margins.
QPageLayout pageLayout(const PreparedReport& report);
// The printer is to be set to pageLayout() and to full page first, so it
// prints from the paper's corner. False when it could not be started.
bool print(QPagedPaintDevice& printer, const PreparedReport& report);

} // namespace ReportPrinter
