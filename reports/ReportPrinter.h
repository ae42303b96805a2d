#pragma once

class PreparedReport;
class QPrinter;

// Built pages on a printer: A4 in the report's orientation, painted from the
// paper's corner, so the report's own margins are the printed ones.
namespace ReportPrinter {

void setUp(QPrinter& printer, const PreparedReport& report);
// False when the printer could not be started.
bool print(QPrinter& printer, const PreparedReport& report);

} // namespace ReportPrinter
