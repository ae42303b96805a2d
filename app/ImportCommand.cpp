#include "ImportCommand.h"

#include "CommandSettings.h"
#include "CommandStatus.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbError.h"
#include "data/WorkProgress.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/ImportPlan.h"
#include "import/ImportWriter.h"
#include "importpage/EditorPhotos.h"

#include <QFileInfo>

namespace {

using namespace command;

struct ImportArguments {
    ImportKind kind = ImportKind::Tools;
    QString file;
    bool update = false;
    bool dryRun = false;
    QString photos;
};

ImportArguments parse(const QStringList& options)
{
    ImportArguments a;
    if (options.isEmpty())
        throw BadArguments(QStringLiteral("give the register and the file"));
    if (options.first() == u"tools")
        a.kind = ImportKind::Tools;
    else if (options.first() == u"recipients")
        a.kind = ImportKind::Recipients;
    else
        throw BadArguments(QStringLiteral("unknown register: %1").arg(options.first()));
    for (int i = 1; i < options.size(); ++i) {
        const QString& o = options.at(i);
        if (o == u"--update" && !a.update) {
            a.update = true;
        } else if (o == u"--dry-run" && !a.dryRun) {
            a.dryRun = true;
        } else if (o == u"--photos" && a.photos.isEmpty()) {
            if (i + 1 >= options.size() || options.at(i + 1).isEmpty())
                throw BadArguments(QStringLiteral("--photos needs a folder"));
            a.photos = options.at(++i);
            if (!QFileInfo(a.photos).isDir())
                throw BadArguments(QStringLiteral("no such folder: %1").arg(a.photos));
        } else if (o.startsWith(u'-')) {
            throw BadArguments(QStringLiteral("unknown or repeated option: %1").arg(o));
        } else if (a.file.isEmpty()) {
            a.file = o;
        } else {
            throw BadArguments(QStringLiteral("one file only: %1").arg(o));
        }
    }
    if (a.file.isEmpty())
        throw BadArguments(QStringLiteral("give the file to import"));
    return a;
}

// One line a row: its line in the file, the verdict, the code.
void printRow(QTextStream& stream, const PlannedRow& row, const Messages& texts)
{
    stream << row.line << '\t' << row.code << '\t' << ImportPlan::verdictText(row, texts) << Qt::endl;
}

} // namespace

int runImportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    ImportArguments arguments;
    try {
        arguments = parse(options);
    } catch (const BadArguments& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl << kImportUsage << Qt::endl;
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
        ImportRequest request;
        request.kind = arguments.kind;
        request.table = readImportFile(arguments.file, texts);
        request.match = matchColumns(request.kind, request.table.headings);
        request.update = arguments.update;
        request.photoFolder = arguments.photos;
        request.placePrefix = session.settings().placeLabelPrefix();
        request.russian = russian;
        session.open({});
        Connection& db = session.connection();
        SilentProgress progress;
        const ImportPlan plan = ImportPlan::make(db, request, texts, progress);
        for (int c = 0; c < request.match.size(); ++c) {
            if (request.match.at(c) < 0 && !request.table.headings.at(c).isEmpty())
                out << request.table.headings.at(c) << '\t' << texts.rsImportColumnIgnored << Qt::endl;
        }
        const QStringList entries = plan.newPlaces + plan.newTypes + plan.newNames;
        if (arguments.dryRun) {
            for (const PlannedRow& row : plan.rows)
                printRow(out, row, texts);
            if (!entries.isEmpty())
                out << texts.rsImportNewEntries.arg(entries.join(QStringLiteral(", "))) << Qt::endl;
            if (plan.refused()) {
                err << texts.rsImportNotWritten.arg(texts.rsImportRefusedRows.arg(plan.count(RowVerdict::Refused)))
                    << Qt::endl;
                return kFailed;
            }
            return kDone;
        }
        if (plan.refused()) {
            for (const PlannedRow& row : plan.rows) {
                if (row.verdict == RowVerdict::Refused)
                    printRow(err, row, texts);
            }
            err << texts.rsImportNotWritten.arg(texts.rsImportRefusedRows.arg(plan.count(RowVerdict::Refused)))
                << Qt::endl;
            return kFailed;
        }
        ImportWriter writer(db, texts, editorPhotos(session.paths().data, russian));
        const ImportCounts counts = writer.write(request, plan, progress);
        out << texts.rsImportDone.arg(counts.added).arg(counts.updated).arg(counts.skipped) << Qt::endl;
        for (const QString& failure : writer.pictureFailures())
            err << texts.rsImportPictureNotKept.arg(failure) << Qt::endl;
    } catch (const ImportError& e) {
        err << texts.rsImportNotWritten.arg(e.text()) << Qt::endl;
        return kFailed;
    } catch (const DbError& e) {
        err << texts.rsImportNotWritten.arg(e.text()) << Qt::endl;
        return kFailed;
    }
    return kDone;
}
