#pragma once

#include "ExportResult.h"

#include <QString>
#include <functional>

class PreparedReport;
class WorkProgress;

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
    // Told of the pages written; a cancel throws WorkCancelled and leaves no file.
    WorkProgress* progress = nullptr;

    // Throws FileWriteError when the file cannot be written; an existing
    // file then stays as it was.
    ExportResult exportPages(const PreparedReport& pages);
};
