#include "ReportCommand.h"

#include "CommandSettings.h"
#include "CommandStatus.h"
#include "QtLanguage.h"

#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/ToolsOut.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "data/MoneyText.h"
#include "recipients/HeldTools.h"
#include "recipients/LastIssue.h"
#include "reportengine/ReportError.h"
#include "reportengine/ReportPdfWriter.h"
#include "reportengine/TfrxRTFExport.h"
#include "reportengine/TfrxReport.h"
#include "reports/HistoryReport.h"
#include "reports/InventoryReport.h"
#include "reports/OnHandStatement.h"
#include "reports/OutCsv.h"
#include "reports/OutReport.h"

#include <QHash>
#include <stdexcept>

namespace {

using namespace command;

struct ReportRequest {
    QString kind;
    QHash<QString, QString> values; // option -> its value (empty for a switch)
    QString file;
    enum class Format { Pdf, Rtf, Csv } format = Format::Pdf;
    bool pdf = false;
};

// Options that take no value.
const QStringList kSwitches = {QStringLiteral("--overdue")};

ReportRequest parse(const QStringList& options)
{
    static const QStringList known = {
        QStringLiteral("--from"), QStringLiteral("--to"),  QStringLiteral("--recipient"), QStringLiteral("--pdf"),
        QStringLiteral("--rtf"),  QStringLiteral("--csv"), QStringLiteral("--overdue")};
    if (options.isEmpty())
        throw BadArguments(QStringLiteral("no report named"));
    ReportRequest request;
    request.kind = options.first();
    for (int i = 1; i < options.size();) {
        const QString& option = options.at(i);
        if (!known.contains(option))
            throw BadArguments(QStringLiteral("unknown option: %1").arg(option));
        if (request.values.contains(option))
            throw BadArguments(QStringLiteral("%1 given twice").arg(option));
        if (kSwitches.contains(option)) {
            request.values.insert(option, QString());
            ++i;
            continue;
        }
        if (i + 1 >= options.size() || options.at(i + 1).isEmpty())
            throw BadArguments(QStringLiteral("%1 needs a value").arg(option));
        request.values.insert(option, options.at(i + 1));
        i += 2;
    }
    const bool pdf = request.values.contains(QStringLiteral("--pdf"));
    const bool rtf = request.values.contains(QStringLiteral("--rtf"));
    const bool csv = request.values.contains(QStringLiteral("--csv"));
    if (int(pdf) + int(rtf) + int(csv) != 1)
        throw BadArguments(csv || request.kind == u"out"
                               ? QStringLiteral("give one of --pdf FILE, --rtf FILE or --csv FILE")
                               : QStringLiteral("give one of --pdf FILE or --rtf FILE"));
    if (csv && request.kind != u"out")
        throw BadArguments(QStringLiteral("--csv belongs to the out report only"));
    request.pdf = pdf;
    request.format = pdf ? ReportRequest::Format::Pdf : rtf ? ReportRequest::Format::Rtf : ReportRequest::Format::Csv;
    request.file = request.values.value(pdf       ? QStringLiteral("--pdf")
                                            : rtf ? QStringLiteral("--rtf")
                                                  : QStringLiteral("--csv"));
    return request;
}

QDate dateOption(const ReportRequest& request, const QString& option)
{
    const QString text = request.values.value(option);
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw BadArguments(QStringLiteral("%1 needs a date as YYYY-MM-DD, not \"%2\"").arg(option, text));
    return date;
}

void expectOnly(const ReportRequest& request, const QStringList& allowed, const QStringList& optional = {})
{
    for (auto it = request.values.cbegin(); it != request.values.cend(); ++it) {
        if (!allowed.contains(it.key()) && !optional.contains(it.key()) && it.key() != u"--pdf" && it.key() != u"--rtf"
            && it.key() != u"--csv")
            throw BadArguments(QStringLiteral("%1 does not belong to the %2 report").arg(it.key(), request.kind));
    }
    for (const QString& option : allowed) {
        if (!request.values.contains(option))
            throw BadArguments(QStringLiteral("the %1 report needs %2").arg(request.kind, option));
    }
}

void write(TfrxReport& report, const ReportRequest& request)
{
    if (request.pdf) {
        ReportPdfWriter::write(*report.prepared(), request.file);
        return;
    }
    TfrxRTFExport filter;
    filter.FileName = request.file;
    filter.confirmOverwrite = [](const QString&) { return true; }; // the file was named on purpose
    (void)report.Export(filter);
}

void writeHistory(Session& session, bool russian, const ReportRequest& request)
{
    const QDate from = dateOption(request, QStringLiteral("--from"));
    const QDate to = dateOption(request, QStringLiteral("--to"));
    HistoryReport history(session.connection());
    // As the settings page applies it at every start.
    history.applyShowTime(session.settings().showTime(), russian);
    history.open(from, to);
    TfrxReport& report = history.report(russian);
    if (request.pdf) {
        // A year of the journal: written page by page as built, never all held.
        ReportPdfWriter::buildAndWrite(report, request.file);
        return;
    }
    report.PrepareReport(true);
    write(report, request);
}

void writeInventory(Session& session, bool russian, const ReportRequest& request)
{
    InventoryReport inventory(session.connection());
    write(inventory.prepare(russian), request);
}

// Issue dates of tools on hand that have none from before 2000, as the card
// fills them before its statement.
void fillIssueDates(Connection& db, Query& held, const QString& userCode)
{
    for (held.first(); !held.eof(); held.next()) {
        const QDate issued = held.date(col::Tools::Issued_date);
        if (issued.isValid() && issued.year() >= 2000)
            continue;
        QDate found = kNoIssueDate;
        findLastIssuedDate(db, held.text(col::Tools::ID_Tool_Unique), userCode, found);
        held.edit();
        held.setValue(col::Tools::Issued_date, found);
        held.post();
    }
}

void writeOnHand(Session& session, bool russian, const ReportRequest& request, QTextStream& err, int& status,
                 const Messages& texts)
{
    Connection& db = session.connection();
    const QString code = request.values.value(QStringLiteral("--recipient")).trimmed();
    Query user(db);
    user.setStatement(Select(col::Users::Table).where(db.dialect().caselessEquals(col::Users::ID_User, code), {code}));
    user.open();
    if (user.isEmpty()) {
        err << texts.rsNoRecipientCode.arg(code) << Qt::endl;
        status = kFailed;
        return;
    }
    user.first();
    const QString userCode = user.text(col::Users::ID_User);
    Query journal(db);
    journal.setStatement(Select(col::History::Table)
                             .where(db.dialect().caselessEquals(col::History::ID_U, userCode), {userCode})
                             .orderBy(col::Key, true));
    journal.open();
    Query held(db);
    held.setStatement(heldToolsStatement(db, user.text(col::Key)));
    held.open();
    fillIssueDates(db, held, userCode);
    double total = 0;
    for (held.first(); !held.eof(); held.next())
        total += held.number(col::Tools::Price);
    OnHandStatement::Holder holder{user.text(col::Users::FIO), user.text(col::Users::Organization), userCode,
                                   held.recordCount(), moneyText(total, russian)};
    OnHandStatement onHand;
    write(onHand.prepare(russian, holder, held, journal), request);
}

// Every tool out, or only the overdue ones, as the tools-out page lists them.
void writeOut(Session& session, bool russian, const ReportRequest& request, const Messages& texts, const QDate& today)
{
    const QList<OutTool> all = ToolsOut::load(session.connection(), today);
    const bool overdue = request.values.contains(QStringLiteral("--overdue"));
    const QList<OutTool> listed = overdue ? ToolsOut::overdueOnly(all, today) : all;
    if (request.format == ReportRequest::Format::Csv) {
        OutCsv::write(request.file, listed, today, russian);
        return;
    }
    const int overdueCount = int(ToolsOut::overdueOnly(all, today).size());
    OutReport report;
    report.setHooks([today] { return today; }, {});
    write(report.prepare(russian, listed, today, overdue ? texts.rsOverdueReportName : texts.rsToolsOutReportName,
                         texts.rsToolsOutCount.arg(all.size()).arg(overdueCount)),
          request);
}

} // namespace

int runReportCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    ReportRequest request;
    try {
        request = parse(options);
        if (request.kind == u"history")
            expectOnly(request, {QStringLiteral("--from"), QStringLiteral("--to")});
        else if (request.kind == u"inventory")
            expectOnly(request, {});
        else if (request.kind == u"on-hand")
            expectOnly(request, {QStringLiteral("--recipient")});
        else if (request.kind == u"out")
            expectOnly(request, {}, {QStringLiteral("--overdue")});
        else
            throw BadArguments(QStringLiteral("unknown report: %1").arg(request.kind));
        if (request.kind == u"history") {
            dateOption(request, QStringLiteral("--from"));
            dateOption(request, QStringLiteral("--to"));
        }
    } catch (const BadArguments& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl << kReportUsage << Qt::endl;
        return kBadArguments;
    }

    int status = kDone;
    // Told in the stored language once the settings are read.
    Messages texts;
    setMessages(texts, true);
    try {
        Session session(paths);
        const std::optional<bool> russianOrNone = readCommandLanguage(session, texts, err);
        if (!russianOrNone)
            return kFailed;
        const bool russian = *russianOrNone;
        session.settings().load();
        // Amounts and dates are written as in the program's windows in that
        // language, whatever the machine's own locale.
        QtLanguage qtLanguage;
        qtLanguage.apply(russian);
        session.open({});
        if (request.kind == u"history")
            writeHistory(session, russian, request);
        else if (request.kind == u"inventory")
            writeInventory(session, russian, request);
        else if (request.kind == u"out")
            writeOut(session, russian, request, texts, QDate::currentDate());
        else
            writeOnHand(session, russian, request, err, status, texts);
    } catch (const FileWriteError& e) {
        err << fileWriteFailureText(e, texts.rsReportNotWritten, request.file, texts) << Qt::endl;
        return kFailed;
    } catch (const DbError& e) {
        err << texts.rsReportNotWritten.arg(request.file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    } catch (const ReportError& e) {
        err << texts.rsReportNotWritten.arg(request.file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    }
    if (status == kDone)
        out << texts.rsReportWritten.arg(request.file) << Qt::endl;
    return status;
}
