#include "TfrxRTFExport.h"

#include "ReportError.h"
#include "RtfWriter.h"

#include <QFileInfo>
#include <QSaveFile>

ExportResult TfrxRTFExport::exportPages(const PreparedReport& pages)
{
    if (OnBeforeExport)
        OnBeforeExport(*this);
    if (FileName.isEmpty())
        throw ReportError(QStringLiteral("No file name for the RTF export"));
    const QFileInfo info(FileName);
    if (info.exists()) {
        if (info.isDir())
            throw ReportError(QStringLiteral("%1 is a folder").arg(FileName));
        if (!confirmOverwrite || !confirmOverwrite(FileName))
            return ExportResult::Declined;
    }
    // Written beside and renamed at the end: a failure never leaves half a file.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("Cannot write %1: %2").arg(FileName, file.errorString()));
    RtfWriter(pages).write(file, progress);
    if (!file.commit())
        throw ReportError(QStringLiteral("Cannot write %1: %2").arg(FileName, file.errorString()));
    return ExportResult::Written;
}
