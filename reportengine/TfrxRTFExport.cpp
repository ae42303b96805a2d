#include "TfrxRTFExport.h"

#include "ReportError.h"
#include "RtfWriter.h"
#include "data/WholeFileWriter.h"

#include <QFileInfo>

ExportResult TfrxRTFExport::exportPages(const PreparedReport& pages)
{
    if (OnBeforeExport)
        OnBeforeExport(*this);
    if (FileName.isEmpty())
        throw ReportError(QStringLiteral("No file name for the RTF export"));
    // A device or a folder is refused before anyone is asked to replace it.
    WholeFileWriter::checkTarget(FileName);
    if (QFileInfo::exists(FileName) && (!confirmOverwrite || !confirmOverwrite(FileName)))
        return ExportResult::Declined;
    WholeFileWriter::write(FileName, [&](QIODevice& device) { RtfWriter(pages).write(device, progress); });
    return ExportResult::Written;
}
