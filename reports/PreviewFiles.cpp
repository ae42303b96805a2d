#include "PreviewFiles.h"

#include "core/FailureText.h"
#include "core/FileChoices.h"
#include "core/Messages.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/WrittenFileOpener.h"
#include "reportengine/ReportPreview.h"
#include "widgets/ProgressWindow.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>

void setPreviewFiles(ReportPreview& preview, Session& session, Platform& platform, const QString& title,
                     const QString& name)
{
    const Messages& texts = session.texts();
    QDialog* window = &preview.window();
    preview.setTitle(title);
    preview.setFileStem(ReportFileName::inReports(session.paths().folder, name, platform.clock.now(), {}));
    ReportPreview::Hooks hooks;
    hooks.saveFileName = [&session, &platform, &texts, window](const QString& suggested, const QString&) {
        // The last folder saved to, else the reports' folder; the dialog
        // opens there only when it exists, so one made for it is taken away
        // again when the report goes elsewhere.
        FileChoices files(session);
        const QString proposed = files.savePath(suggested);
        const QString folder = QFileInfo(proposed).absolutePath();
        const bool made = !QFileInfo::exists(folder) && QDir().mkpath(folder);
        const bool pdf = QFileInfo(proposed).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
        const QString file = platform.dialogs.saveFile(window, texts.rsSaveReport, proposed,
                                                       pdf ? texts.rsPdfFiles : texts.rsRtfFiles);
        if (made && (file.isEmpty() || QFileInfo(file).absolutePath() != folder))
            QDir().rmdir(folder);
        files.remember(FileChoices::Kind::Saved, file);
        return file;
    };
    hooks.confirmOverwrite = [&platform, &texts, window](const QString& file) {
        return platform.dialogs.confirm(window, texts.rsReplaceFile.arg(file));
    };
    hooks.showError = [&platform, window](const QString& text) { platform.dialogs.error(window, text); };
    hooks.writeFailed = [&platform, &texts, window](const FileWriteError& error, const QString& file) {
        platform.dialogs.error(window, fileWriteFailureText(error, texts.rsReportNotWritten, file, texts));
    };
    hooks.written = [&platform, &texts, window](const QString& file) {
        if (QFileInfo(file).suffix().compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0)
            WrittenFileOpener(platform, {texts.rsWrittenNotOpened, texts.rsOpenFolder, texts.rsFolderNotOpened})
                .open(window, file);
    };
    hooks.progress = [&texts, window](const QString& file) -> std::unique_ptr<WorkProgress> {
        return std::make_unique<ProgressWindow>(window, texts.rsProgressWriting.arg(QFileInfo(file).fileName()));
    };
    preview.setHooks(hooks);
    preview.savePdfAction()->setText(texts.rsSaveAsPdf);
    preview.exportRtfAction()->setText(texts.rsExportToRtf);
}
