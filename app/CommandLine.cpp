#include "CommandLine.h"

#include "CommandStatus.h"
#include "LabelCommand.h"
#include "ReportCommand.h"
#include "TerminalProgress.h"
#include "Version.h"

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

int backup(const QString& programFolder, const QString& file, QTextStream& out, QTextStream& err)
{
    const ProgramPaths paths(programFolder);
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

int copyToServer(const QString& programFolder, QTextStream& out, QTextStream& err)
{
    const ProgramPaths paths(programFolder);
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

void printUsage(QTextStream& stream)
{
    stream << "usage: tooldesk [OPTION...]" << Qt::endl
           << "Without an option: the program's window, on the Data folder beside the program." << Qt::endl
           << Qt::endl
           << "  -h, --help                  print this text and end" << Qt::endl
           << "  -v, --version               print the version and the commit it was built from, and end" << Qt::endl
           << "  --backup FILE               write a consistent copy of the database to FILE" << Qt::endl
           << "  --copy-database-to-server   copy the Data folder's database file to the server that" << Qt::endl
           << "                              the [DATABASE] section of Data/Config.ini names" << Qt::endl
           << "  --report ...                write a report without a window:" << Qt::endl
           << kReportUsage << Qt::endl
           << "  --labels ...                write barcode labels without a window:" << Qt::endl
           << kLabelUsage << Qt::endl
           << Qt::endl
           << "Exit status: 0 done, 1 failed (nothing half-written), 2 wrong arguments." << Qt::endl;
}

} // namespace

std::optional<int> runCommandLine(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                                  QTextStream& err)
{
    const QStringList options = arguments.mid(1);
    // Every argument that looks like an option is one of these or refused;
    // none starts the windows by mistake.
    if (options.isEmpty() || !options.first().startsWith(u'-'))
        return std::nullopt;
    if (options.first() == u"-h" || options.first() == u"--help") {
        printUsage(out);
        return kDone;
    }
    if (options.first() == u"-v" || options.first() == u"--version") {
        out << "tooldesk " << kTooldeskVersion << " (commit " << kTooldeskCommit << ")" << Qt::endl;
        return kDone;
    }
    if (options.first() == u"--backup") {
        if (options.size() != 2 || options.at(1).isEmpty()) {
            err << "usage: tooldesk --backup FILE" << Qt::endl;
            return kBadArguments;
        }
        return backup(programFolder, options.at(1), out, err);
    }
    if (options.first() == u"--copy-database-to-server") {
        if (options.size() != 1) {
            err << "usage: tooldesk --copy-database-to-server" << Qt::endl;
            return kBadArguments;
        }
        return copyToServer(programFolder, out, err);
    }
    if (options.first() == u"--report")
        return runReportCommand(options.mid(1), programFolder, out, err);
    if (options.first() == u"--labels")
        return runLabelCommand(options.mid(1), programFolder, out, err);
    err << "unknown option: " << options.first() << Qt::endl;
    printUsage(err);
    return kBadArguments;
}
