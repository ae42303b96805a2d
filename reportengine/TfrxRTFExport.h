#pragma once

#include "ExportResult.h"

#include <QString>
#include <functional>

class PreparedReport;

// The RTF export filter: writes built pages as one RTF file. OnBeforeExport
// runs first, so the owning window can set FileName. An existing file is
// overwritten only when confirmOverwrite answers yes; without that callback
// it is kept. Opening the written file is the caller's business.
class TfrxRTFExport
{
public:
    QString FileName = QStringLiteral("Report.rtf");
    std::function<void(TfrxRTFExport& filter)> OnBeforeExport;
    std::function<bool(const QString& file)> confirmOverwrite;
    std::function<void(int donePages, int totalPages)> progress;

    // Throws FileWriteError when the file cannot be written; an existing
    // file then stays as it was.
    ExportResult exportPages(const PreparedReport& pages);
};
