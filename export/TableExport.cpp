#include "TableExport.h"

#include "CsvTableWriter.h"
#include "TableRows.h"
#include "XlsxSheetCheck.h"
#include "XlsxTableWriter.h"
#include "core/Messages.h"
#include "data/FileWriteError.h"
#include "data/WholeFileWriter.h"
#include "data/WorkProgress.h"

#include <QFileInfo>

namespace {

// How often the progress is told: often enough to cancel at once, rarely
// enough to cost nothing.
constexpr qint64 kRowsBetweenTells = 250;

class Told
{
public:
    Told(WorkProgress& progress, qint64 total)
        : m_progress(progress)
        , m_total(total)
    {
    }
    bool row()
    {
        ++m_done;
        return m_done % kRowsBetweenTells != 0 || m_progress.advance(m_done, std::max(m_total, m_done));
    }
    qint64 done() const { return m_done; }

private:
    WorkProgress& m_progress;
    qint64 m_total;
    qint64 m_done = 0;
};

ExportOutcome writeCsv(TableRows& rows, WholeFileWriter& file, const ExportTable& table, Told& told)
{
    CsvTableWriter csv(file.device(), table);
    csv.writeHeadings();
    const bool all = rows.forEach([&](const QVariantList& values) {
        csv.writeRow(values);
        return !csv.failed() && told.row();
    });
    csv.flush();
    if (!all && !csv.failed())
        return {false, told.done()};
    file.commit(); // a failed write is told here, with the system's reason
    return {true, told.done()};
}

ExportOutcome writeXlsx(TableRows& rows, WholeFileWriter& file, const ExportTable& table, Told& told,
                        const Messages& texts)
{
    // The library opens the temporary file by its name and writes it whole at close.
    XlsxTableWriter xlsx(file.temporaryPath(), QFileInfo(file.temporaryPath()).path(), table);
    xlsx.writeHeadings();
    bool full = false;
    const bool all = rows.forEach([&](const QVariantList& values) {
        full = !xlsx.writeRow(values);
        return !full && told.row();
    });
    if (full)
        throw FileWriteError(FileWriteError::Cause::Other, file.target(),
                             texts.rsExportTooManyRows.arg(XlsxTableWriter::kMostRows - 1));
    if (!all)
        return {false, told.done()};
    if (const QString failure = xlsx.close(); !failure.isEmpty()) {
        const int error = xlsx.closeErrno();
        // A full disk or a refused write says so; the library's own words otherwise.
        if (error != 0 && FileWriteError::causeOfErrno(error) != FileWriteError::Cause::Other)
            throw FileWriteError::fromErrno(error, file.target());
        throw FileWriteError(FileWriteError::Cause::Other, file.target(), failure);
    }
    file.commit([&xlsx](const QString& written) { return xlsxSheetCheck(written, xlsx.rowsWithCells()); });
    return {true, told.done()};
}

} // namespace

std::optional<ExportFormat> exportFormatOf(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == u"csv")
        return ExportFormat::Csv;
    if (suffix == u"xlsx")
        return ExportFormat::Xlsx;
    return std::nullopt;
}

ExportOutcome exportTable(Connection& db, const ExportTable& table, const QString& file, ExportFormat format,
                          WorkProgress& progress, const Messages& texts)
{
    WholeFileWriter::checkTarget(file); // refused before the rows are read
    TableRows rows(db, table);
    const qint64 total = rows.count();
    progress.setStage(texts.rsExportStage.arg(QFileInfo(file).fileName()));
    if (!progress.advance(0, total))
        return {};
    WholeFileWriter target(file);
    Told told(progress, total);
    const ExportOutcome outcome = format == ExportFormat::Csv ? writeCsv(rows, target, table, told)
                                                              : writeXlsx(rows, target, table, told, texts);
    if (outcome.written)
        progress.advance(outcome.rows, std::max(total, outcome.rows));
    return outcome;
}
