#include "CommandLine.h"

#include "CommandStatus.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "LabelCommand.h"
#include "ReportCommand.h"
#include "TerminalProgress.h"
#include "Version.h"

#include "core/DataFolder.h"
#include "core/DatabaseSettings.h"
#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"

namespace {

using namespace command;

int backup(const ProgramPaths& paths, const QString& file, QTextStream& out, QTextStream& err)
{
    // In the language of the settings file, as the reports.
    Messages texts;
    setMessages(texts, Settings(paths.ini).language() == u"RU");
    try {
        Connection db;
        db.open(DatabaseSettings::read(paths.ini, paths.database));
        const auto progress = TerminalProgress::onStandardError(err, texts.rsProgressPages);
        progress->setStage(file);
        db.backupTo(file, progress.get());
    } catch (const FileWriteError& e) {
        err << backupFailureText(e, file, texts) << Qt::endl;
        return kFailed;
    } catch (const DbError& e) {
        err << texts.rsBackupFailed.arg(file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    }
    out << texts.rsBackupDone.arg(file) << Qt::endl;
    return kDone;
}

int copyToServer(const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    try {
        const ConnectionDescription server = DatabaseSettings::read(paths.ini, paths.database);
        if (!server.isServer()) {
            err << "The database was NOT copied: " << paths.ini
                << " names no server database ([DATABASE] with Engine=PostgreSQL)" << Qt::endl;
            return kFailed;
        }
        Connection source;
        source.open(paths.database);
        Connection target;
        target.open(server);
        Messages texts;
        setMessages(texts, Settings(paths.ini).language() == u"RU");
        const QList<DatabaseCopy::TableCount> counts = [&] {
            // Per table, ended before the summary below.
            const auto progress = TerminalProgress::onStandardError(err, texts.rsProgressRows);
            return DatabaseCopy::copy(source, target, progress.get());
        }();
        out << "Copied " << paths.database << " to " << server.displayName() << Qt::endl;
        out << "table\trows in the file\trows on the server" << Qt::endl;
        for (const DatabaseCopy::TableCount& c : counts)
            out << c.table << '\t' << c.source << '\t' << c.target << Qt::endl;
    } catch (const DbError& e) {
        err << "The database was NOT copied: " << e.text() << Qt::endl;
        return kFailed;
    }
    return kDone;
}

void printUsage(QTextStream& stream, const DataFolder& data)
{
    stream << "usage: tooldesk [--data DIR] [OPTION...]" << Qt::endl
           << "Without an option: the program's window, on the Data folder in use." << Qt::endl
           << Qt::endl
           << "Data folder in use: " << data.describe() << Qt::endl
           << "It is the folder --data DIR names, else the one the variable TOOLDESK_DATA names, else" << Qt::endl
           << "a folder Data beside the program, else $XDG_DATA_HOME/tooldesk/Data (by default" << Qt::endl
           << "~/.local/share/tooldesk/Data), made from the installed template at the first start." << Qt::endl
           << "Reports/ and WriteOff/ lie beside it." << Qt::endl
           << Qt::endl
           << "  --data DIR                  work on the Data folder DIR (with the window or any option)" << Qt::endl
           << "  -h, --help                  print this text and end" << Qt::endl
           << "  -v, --version               print the version and the commit it was built from, and end" << Qt::endl
           << "  --backup FILE               write a consistent copy of the database to FILE" << Qt::endl
           << "  --copy-database-to-server   copy the Data folder's database file to the server that" << Qt::endl
           << "                              the [DATABASE] section of Data/Config.ini names" << Qt::endl
           << "  --report ...                write a report without a window:" << Qt::endl
           << kReportUsage << Qt::endl
           << "  --labels ...                write barcode labels without a window:" << Qt::endl
           << kLabelUsage << Qt::endl
           << "  --export tools|recipients FILE   write a register to a CSV or Excel file without a window:" << Qt::endl
           << kExportUsage << Qt::endl
           << "  --import ...                add or update tools or workers from a CSV or XLSX file:" << Qt::endl
           << kImportUsage << Qt::endl
           << "                              --update changes tools or workers whose code exists (else they are"
           << Qt::endl
           << "                              skipped), --dry-run prints each row's verdict and writes nothing,"
           << Qt::endl
           << "                              --photos DIR takes DIR's pictures named by code (T001.jpg)" << Qt::endl
           << Qt::endl
           << "Exit status: 0 done, 1 failed (nothing half-written), 2 wrong arguments." << Qt::endl;
}

} // namespace

std::optional<int> runCommandLine(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                                  QTextStream& err)
{
    QStringList rest = arguments;
    bool dataMissing = false;
    const QString dataOption = DataFolder::takeOption(rest, &dataMissing);
    const DataFolder data = DataFolder::choose(DataFolder::Inputs::fromSystem(programFolder, dataOption));
    if (dataMissing) {
        err << "usage: tooldesk --data DIR [OPTION...]: --data needs a folder" << Qt::endl;
        return kBadArguments;
    }
    const QStringList options = rest.mid(1);
    // Every argument that looks like an option is one of these or refused;
    // none starts the windows by mistake.
    if (options.isEmpty() || !options.first().startsWith(u'-'))
        return std::nullopt;
    if (options.first() == u"-h" || options.first() == u"--help") {
        printUsage(out, data);
        return kDone;
    }
    if (options.first() == u"-v" || options.first() == u"--version") {
        out << "tooldesk " << kTooldeskVersion << " (commit " << kTooldeskCommit << ")" << Qt::endl;
        return kDone;
    }
    // The modes below work on the Data folder: made from the template first
    // when it is the user's and does not exist yet.
    static const QStringList kDataModes{QStringLiteral("--backup"), QStringLiteral("--copy-database-to-server"),
                                        QStringLiteral("--report"), QStringLiteral("--labels")};
    if (kDataModes.contains(options.first())) {
        Messages texts;
        setMessages(texts, DataFolder::systemLanguageRussian());
        if (const QString failure = data.prepare(texts); !failure.isEmpty()) {
            err << failure << Qt::endl;
            return kFailed;
        }
    }
    const ProgramPaths paths = data.paths();
    if (options.first() == u"--backup") {
        if (options.size() != 2 || options.at(1).isEmpty()) {
            err << "usage: tooldesk --backup FILE" << Qt::endl;
            return kBadArguments;
        }
        return backup(paths, options.at(1), out, err);
    }
    if (options.first() == u"--copy-database-to-server") {
        if (options.size() != 1) {
            err << "usage: tooldesk --copy-database-to-server" << Qt::endl;
            return kBadArguments;
        }
        return copyToServer(paths, out, err);
    }
    if (options.first() == u"--report")
        return runReportCommand(options.mid(1), paths, out, err);
    if (options.first() == u"--labels")
        return runLabelCommand(options.mid(1), paths, out, err);
    if (options.first() == u"--export")
        return runExportCommand(options.mid(1), paths, out, err);
    if (options.first() == u"--import")
        return runImportCommand(options.mid(1), paths, out, err);
    err << "unknown option: " << options.first() << Qt::endl;
    printUsage(err, data);
    return kBadArguments;
}
