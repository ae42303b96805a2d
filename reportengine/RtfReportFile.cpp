#include "RtfReportFile.h"

#include "TfrxRTFExport.h"
#include "TfrxReport.h"
#include "data/WholeFileWriter.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

ExportResult writeAndOpenRtf(TfrxReport& report, const QString& file, const QString& replaceQuestion,
                             Platform& platform, QWidget* parent, const WrittenFileOpener::Texts& openTexts,
                             WorkProgress* progress)
{
    TfrxRTFExport filter;
    filter.progress = progress;
    filter.OnBeforeExport = [&file](TfrxRTFExport& f) {
        WholeFileWriter::makeFolder(QFileInfo(file).absolutePath());
        f.FileName = file;
    };
    filter.confirmOverwrite = [&](const QString& existing) {
        return platform.dialogs.confirm(parent, replaceQuestion.arg(QDir::toNativeSeparators(existing)));
    };
    const ExportResult result = report.Export(filter);
    if (result == ExportResult::Written)
        WrittenFileOpener(platform, openTexts).open(parent, filter.FileName);
    return result;
}
