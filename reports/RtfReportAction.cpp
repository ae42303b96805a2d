#include "RtfReportAction.h"

#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "data/FileWriteError.h"
#include "data/WorkCancelled.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "reportengine/RtfReportFile.h"
#include "widgets/ProgressWindow.h"

#include <QFileInfo>

void buildAndWriteRtf(QWidget* parent, Session& session, Platform& platform, const QString& file,
                      const std::function<TfrxReport&(WorkProgress& progress)>& build)
{
    const Messages& texts = session.texts();
    try {
        ProgressWindow building(parent, texts.rsProgressBuildingReport);
        TfrxReport& report = build(building);
        ProgressWindow writing(parent, texts.rsProgressWriting.arg(QFileInfo(file).fileName()));
        (void)writeAndOpenRtf(report, file, texts.rsReplaceFile, platform, parent,
                              {texts.rsWrittenNotOpened, texts.rsOpenFolder, texts.rsFolderNotOpened}, &writing);
    } catch (const WorkCancelled&) {
        // Stopped by the user: nothing written, nothing to tell.
    } catch (const FileWriteError& e) {
        platform.dialogs.error(parent, fileWriteFailureText(e, texts.rsReportNotWritten, file, texts));
    }
}
