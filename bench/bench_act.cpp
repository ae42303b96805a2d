// Time to write the document of one large write-off act from the delivered
// Russian template, and to write such an act off in the delivered database
// with its document made. Prints a small table; exits non-zero only when
// the act could not be written off or its document written, never for a
// missed target.
#include "data/Connection.h"
#include "data/Query.h"
#include "writeoff/ActDocument.h"
#include "writeoff/ActToolRows.h"
#include "writeoff/ActWriteOff.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double TargetMs = 2000;

struct Options {
    int tools = 1000;
    int runs = 5;
    QString keep; // copy the last document here
};

bool parse(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--tools" && hasValue)
            o.tools = args[++i].toInt(&ok);
        else if (a == u"--runs" && hasValue)
            o.runs = args[++i].toInt(&ok);
        else if (a == u"--keep" && hasValue)
            o.keep = args[++i];
        else
            return false;
        if (!ok || o.tools < 0 || o.runs < 1)
            return false;
    }
    return true;
}

QList<ActTool> actTools(int count)
{
    QList<ActTool> tools;
    tools.reserve(count);
    for (int i = 1; i <= count; ++i) {
        tools.append({QStringLiteral("Перфоратор аккумуляторный, модель %1").arg(i), 1000.0 + i * 12.5,
                      QStringLiteral("ИНВ-%1").arg(i, 6, 10, QLatin1Char('0'))});
    }
    return tools;
}

void printTimes(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const double m = times[times.size() / 2];
    std::printf("  %-11s median %.1f ms, best %.1f ms, worst %.1f ms  (target < %.0f ms: %s)\n", what, m, times.front(),
                times.back(), TargetMs, m < TargetMs ? "PASS" : "FAIL");
}

// The act's tools in the delivered database, not yet written off.
void prepareAct(Connection& db, int count)
{
    Connection::Transaction t(db);
    db.exec(QStringLiteral("DELETE FROM Tools"));
    db.exec(QStringLiteral("DELETE FROM AKTSpisaniya"));
    db.exec(QStringLiteral("INSERT INTO AKTSpisaniya (ID, AName) VALUES (1, 'АКТ')"));
    for (int i = 1; i <= count; ++i) {
        const QString code = QStringLiteral("T%1").arg(i, 6, 10, QLatin1Char('0'));
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Price, Inv, Passed, WriteOff, "
                               "WriteOff_AKT_ID) VALUES (?, ?, ?, ?, ?, 1, 0, 1)"),
                {code, code, QStringLiteral("Перфоратор аккумуляторный, модель %1").arg(i), 1000.0 + i * 12.5,
                 QStringLiteral("ИНВ-%1").arg(i, 6, 10, QLatin1Char('0'))});
    }
    t.commit();
}

// The write-off page's work for one act: the transaction, the act's tools
// read as its list shows them, the document written.
bool writeOffAct(Connection& db, const ActDocument& act, ActDocumentResult& result)
{
    if (!ActWriteOff(db).writeOff(1, QDateTime::currentDateTime()).isEmpty())
        return false;
    Query tools(db);
    tools.setStatement(ActWriteOff::tools(1));
    tools.open();
    result = act.create(1, actToolsOf(tools));
    return result.ok();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(app.arguments(), options)) {
        std::fprintf(stderr,
                     "usage: bench_act [--tools N] [--runs N] [--keep FILE]\n"
                     "  --tools N   tools in the act (default 1000)\n"
                     "  --runs N    timed runs after one warm-up (default 5)\n"
                     "  --keep FILE copy the written document to FILE\n");
        return 2;
    }
    QTemporaryDir program;
    const QString templates = program.filePath(QStringLiteral("Data/Templates"));
    QDir().mkpath(templates);
    const QString delivered = QStringLiteral(TOOLDESK_DELIVERED_DATA "/Templates/AKT_RU.docx");
    if (!QFile::copy(delivered, templates + QStringLiteral("/AKT_RU.docx"))) {
        std::fprintf(stderr, "bench_act: no template %s\n", qPrintable(delivered));
        return 1;
    }

    const ActDocument act(program.path(), 0);
    const QList<ActTool> tools = actTools(options.tools);
    std::vector<double> times;
    ActDocumentResult result;
    for (int run = 0; run <= options.runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        result = act.create(1, tools);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!result.ok()) {
            std::fprintf(stderr, "bench_act: %s\n", qPrintable(result.message(false)));
            return 1;
        }
        if (run > 0) // the first run warms the caches
            times.push_back(ms);
    }
    std::printf("act document, %d tools, %d runs\n", options.tools, options.runs);
    printTimes("write time", times);
    std::printf("  document    %lld bytes\n", static_cast<long long>(QFileInfo(result.file).size()));

    // The same act written off in the database, its document made.
    const QString database = program.filePath(QStringLiteral("Data/DB.mdb"));
    if (!QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/DB.mdb"), database)) {
        std::fprintf(stderr, "bench_act: no delivered database\n");
        return 1;
    }
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    std::vector<double> writeOffTimes;
    try {
        Connection db;
        db.open(database);
        for (int run = 0; run <= options.runs; ++run) {
            prepareAct(db, options.tools);
            QElapsedTimer timer;
            timer.start();
            if (!writeOffAct(db, act, result)) {
                std::fprintf(stderr, "bench_act: write-off failed: %s\n", qPrintable(result.message(false)));
                return 1;
            }
            if (run > 0)
                writeOffTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_act: %s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("act written off with its document, %d tools, %d runs\n", options.tools, options.runs);
    printTimes("total", writeOffTimes);
    if (!options.keep.isEmpty()) {
        QFile::remove(options.keep);
        if (!QFile::copy(result.file, options.keep)) {
            std::fprintf(stderr, "bench_act: cannot copy to %s\n", qPrintable(options.keep));
            return 1;
        }
    }
    return 0;
}
