#include "RegisterExportAction.h"

#include "TableExport.h"
#include "core/FailureText.h"
#include "core/FileChoices.h"
#include "core/Session.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/ProgressWindow.h"

#include <QDateTime>
#include <QProgressDialog>

void exportRegister(QWidget* parent, Session& session, Platform& platform, const ExportTable& table)
{
    const Messages& texts = session.texts();
    FileChoices files(session);
    const QString suggested = table.title + platform.clock.now().toString(QStringLiteral(" dd.MM.yyyy"))
        + QStringLiteral(".xlsx");
    const QString file = platform.dialogs.saveFile(parent, texts.rsExportTitle, files.savePath(suggested),
                                                   texts.rsExportFilter);
    if (file.isEmpty())
        return;
    files.remember(FileChoices::Kind::Saved, file);
    const std::optional<ExportFormat> format = exportFormatOf(file);
    if (!format) {
        platform.dialogs.error(parent, texts.rsExportUnknownFormat.arg(file));
        return;
    }
    ExportOutcome outcome;
    try {
        ProgressWindow progress(parent, texts.rsExportTitle);
        outcome = exportTable(session.connection(), table, file, *format, progress, texts);
    } catch (const FileWriteError& e) {
        platform.dialogs.error(parent, fileWriteFailureText(e, texts.rsExportNotWritten, file, texts));
        return;
    } catch (const DbError& e) {
        platform.dialogs.error(parent, texts.rsExportNotWritten.arg(file) + u'\n' + e.text());
        return;
    }
    if (outcome.written)
        platform.dialogs.message(parent, texts.rsExportWritten.arg(file).arg(outcome.rows));
    else
        platform.dialogs.message(parent, texts.rsExportCancelled.arg(file));
}
