#include "ExportCommand.h"

#include "CommandSettings.h"
#include "CommandStatus.h"
#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "data/WorkProgress.h"
#include "export/RegisterTables.h"
#include "export/TableExport.h"

using namespace command;

int runExportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    if (options.size() != 2 || options.at(1).isEmpty()) {
        err << kExportUsage << Qt::endl;
        return kBadArguments;
    }
    const QString& kind = options.at(0);
    const QString& file = options.at(1);
    if (kind != u"tools" && kind != u"recipients") {
        err << "unknown register: " << kind << Qt::endl << kExportUsage << Qt::endl;
        return kBadArguments;
    }
    const std::optional<ExportFormat> format = exportFormatOf(file);
    if (!format) {
        err << "give a file ending in .csv or .xlsx, not " << file << Qt::endl << kExportUsage << Qt::endl;
        return kBadArguments;
    }

    Messages texts;
    setMessages(texts, true);
    try {
        Session session(paths);
        const std::optional<bool> russianOrNone = readCommandLanguage(session, texts, err);
        if (!russianOrNone)
            return kFailed;
        const bool russian = *russianOrNone;
        session.settings().load(); // the columns the tool list shows
        session.open({});
        Connection& db = session.connection();
        const ExportTable table = kind == u"tools" ? wholeToolRegister(db, session.settings(), russian)
                                                   : wholeRecipientRegister(db, russian);
        SilentProgress progress;
        const ExportOutcome outcome = exportTable(db, table, file, *format, progress, texts);
        out << texts.rsExportWritten.arg(file).arg(outcome.rows) << Qt::endl;
    } catch (const FileWriteError& e) {
        err << fileWriteFailureText(e, texts.rsExportNotWritten, file, texts) << Qt::endl;
        return kFailed;
    } catch (const DbError& e) {
        err << texts.rsExportNotWritten.arg(file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    }
    return kDone;
}
