// Desk figures on a large generated database: start-up, scan-to-record, the
// same writes on the bare engine, peak memory. Prints a table; exits non-zero
// only when something broke, never for a missed target.
#include "BenchApplication.h"
#include "BenchDatabase.h"
#include "BenchServer.h"
#include "DeskMeasures.h"
#include "FourDesks.h"
#include "LiveJournalMeasures.h"
#include "ServerRestartMeasures.h"
#include "ToolPageMeasures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Options {
    QString dir = QStringLiteral("/tmp/tooldesk-bench");
    int events = 1000;
    int startupRuns = 5;
    bool regenerate = false;
    BenchSizes sizes;
    QString server; // the socket folder or host of a PostgreSQL server: the desk works there
    int serverPort = 5432;
    QString serverDb = QStringLiteral("tooldesk_bench");
    QString serverUser = QStringLiteral("postgres");
    bool restartServer = false; // the server is a scripts/pg-test-server.sh cluster the benchmark may restart
};

void usage()
{
    std::fprintf(stderr,
                 "usage: bench_desk [--dir DIR] [--events N] [--startup-runs N] [--regenerate]\n"
                 "                  [--tools N] [--recipients N] [--journal N]\n"
                 "  --dir DIR          program folder to generate or reuse (default /tmp/tooldesk-bench)\n"
                 "  --events N         desk and baseline events (default 1000)\n"
                 "  --startup-runs N   start-up child runs, 0 to skip (default 5)\n"
                 "  --regenerate       generate the database even when a complete one is there\n"
                 "  --tools N, --recipients N, --journal N\n"
                 "                     rows generated (100000, 1000, 1000000); a folder made with other\n"
                 "                     sizes is generated again\n"
                 "  --server HOST      copy the database to a PostgreSQL server (host or socket folder) and\n"
                 "                     measure the desk there; --server-db NAME (tooldesk_bench, dropped and\n"
                 "                     made again), --server-user USER (postgres, a superuser),\n"
                 "                     --server-port N (5432; every connection of the benchmark uses it)\n"
                 "  --restart-server   the --server folder is a cluster of scripts/pg-test-server.sh: stop and\n"
                 "                     start it under a running desk, 10 times\n");
}

bool parse(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--dir" && hasValue)
            o.dir = args[++i];
        else if (a == u"--events" && hasValue)
            o.events = args[++i].toInt(&ok);
        else if (a == u"--startup-runs" && hasValue)
            o.startupRuns = args[++i].toInt(&ok);
        else if (a == u"--server" && hasValue)
            o.server = args[++i];
        else if (a == u"--server-db" && hasValue)
            o.serverDb = args[++i];
        else if (a == u"--server-port" && hasValue)
            o.serverPort = args[++i].toInt(&ok);
        else if (a == u"--server-user" && hasValue)
            o.serverUser = args[++i];
        else if (a == u"--tools" && hasValue)
            o.sizes.tools = args[++i].toInt(&ok);
        else if (a == u"--recipients" && hasValue)
            o.sizes.recipients = args[++i].toInt(&ok);
        else if (a == u"--journal" && hasValue)
            o.sizes.journal = args[++i].toInt(&ok);
        else if (a == u"--regenerate")
            o.regenerate = true;
        else if (a == u"--restart-server")
            o.restartServer = true;
        else
            return false;
        if (!ok)
            return false;
    }
    // The desk's events need tools in the store and workers to take them.
    return o.events > 0 && o.startupRuns >= 0 && o.sizes.tools >= 100 && o.sizes.recipients >= 10
        && o.sizes.journal >= 0 && (!o.restartServer || !o.server.isEmpty());
}

// Nearest rank: the value at or below which p of the samples lie.
double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

QString ms(double v)
{
    return QStringLiteral("%1 ms").arg(v, 0, 'f', v < 10 ? 3 : 1);
}

QString verdict(bool pass)
{
    return pass ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}

struct Table {
    QList<QStringList> rows{
        {QStringLiteral("measure"), QStringLiteral("value"), QStringLiteral("target"), QStringLiteral("result")}};

    void add(const QString& measure, const QString& value, const QString& target = {}, const QString& result = {})
    {
        rows.append({measure, value, target, result});
    }

    QString text() const
    {
        int widths[4] = {};
        for (const QStringList& r : rows)
            for (int c = 0; c < 4; ++c)
                widths[c] = std::max(widths[c], static_cast<int>(r[c].size()));
        QString out;
        for (int i = 0; i < rows.size(); ++i) {
            QString line;
            for (int c = 0; c < 4; ++c)
                line += (c == 1 ? rows[i][c].rightJustified(widths[c]) : rows[i][c].leftJustified(widths[c]))
                    + QStringLiteral("  ");
            out += line.trimmed() + u'\n';
            if (i == 0)
                out += QString(widths[0] + widths[1] + widths[2] + widths[3] + 6, u'-') + u'\n';
        }
        return out;
    }
};

void say(const QString& text)
{
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    BenchApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1 && args[1] == u"--scan-child")
        return runScanChild(args.mid(2));
    Options options;
    if (!parse(args, options)) {
        usage();
        return 2;
    }

    Table table;
    BenchDatabase database(options.dir, options.sizes);
    say(QStringLiteral("database: %1").arg(database.dbPath()));
    if (!database.prepare(options.regenerate)) {
        say(QStringLiteral("FAILED: %1").arg(database.error()));
        return 1;
    }
    const QString generation = QStringLiteral("%1 s").arg(database.generationSeconds(), 0, 'f', 1);
    say(database.generatedNow() ? QStringLiteral("generated in %1").arg(generation)
                                : QStringLiteral("reused (it was generated in %1)").arg(generation));
    table.add(database.generatedNow() ? QStringLiteral("database generation")
                                      : QStringLiteral("database generation (earlier run)"),
              generation);

    std::vector<PlannedEvent> plan;
    QString error;
    if (!planEvents(database.dbPath(), options.events, plan, error)) {
        say(QStringLiteral("FAILED: %1").arg(error));
        return 1;
    }

    // On a server: the same rows copied there, and the program folder's settings naming it.
    const bool onServer = !options.server.isEmpty();
    ConnectionDescription serverDatabase = ConnectionDescription::server(options.server, options.serverDb,
                                                                         options.serverUser);
    serverDatabase.port = options.serverPort;
    BenchServer server(serverDatabase);
    if (onServer) {
        say(QStringLiteral("copying to the server database %1 on %2...").arg(options.serverDb, options.server));
        double copySeconds = 0;
        if (!server.copyFrom(database.dbPath(), copySeconds, error)
            || !server.pointFolderAt(database.programFolder(), error)) {
            say(QStringLiteral("FAILED: %1").arg(error));
            return 1;
        }
        table.add(QStringLiteral("copy to the server (--copy-database-to-server)"),
                  QStringLiteral("%1 s").arg(copySeconds, 0, 'f', 1));
    }

    if (options.startupRuns > 0) {
        std::vector<double> times;
        qint64 peakKb = 0;
        QStringList each;
        for (int i = 0; i < options.startupRuns; ++i) {
            StartupRun run;
            if (!measureStartup(database.programFolder(), run, error)) {
                say(QStringLiteral("FAILED: %1").arg(error));
                return 1;
            }
            times.push_back(run.ms);
            peakKb = std::max(peakKb, run.peakKb);
            each << QString::number(run.ms, 'f', 0);
            say(QStringLiteral("start-up run %1: %2, %3 journal rows loaded, peak RSS %4 MB")
                    .arg(i + 1)
                    .arg(ms(run.ms))
                    .arg(run.rows)
                    .arg(run.peakKb / 1024.0, 0, 'f', 1));
        }
        const double median = percentile(times, 0.5);
        const double peakMb = peakKb / 1024.0;
        table.add(QStringLiteral("start-up, median of %1 (%2 ms)").arg(options.startupRuns).arg(each.join(u' ')),
                  ms(median), QStringLiteral("< 1000 ms"), verdict(median < 1000));
        table.add(QStringLiteral("peak memory (VmHWM), max of %1").arg(options.startupRuns),
                  QStringLiteral("%1 MB").arg(peakMb, 0, 'f', 1), QStringLiteral("< 200 MB"), verdict(peakMb < 200));
    }

    // Desk and baseline events alternate, so both meet the disk in the same state.
    DeskRun desk;
    BaselineWriter baseline;
    if (!onServer && !baseline.open(database.baselinePath())) {
        say(QStringLiteral("FAILED: %1").arg(baseline.error()));
        return 1;
    }
    say(QStringLiteral("desk%1: %2 events...")
            .arg(onServer ? QString() : QStringLiteral(" and baseline"))
            .arg(options.events));
    const auto baselineTurn = [&](size_t i) { return baseline.write(plan[i]); };
    if (!measureDesk(database.programFolder(), plan, desk, error,
                     onServer ? std::function<bool(size_t)>() : std::function<bool(size_t)>(baselineTurn))) {
        say(QStringLiteral("FAILED: %1 %2").arg(error, baseline.error()));
        return 1;
    }
    for (const QString& p : desk.problems)
        say(QStringLiteral("  %1").arg(p));
    const double deskMedian = percentile(desk.ms, 0.5);
    const double deskTarget = onServer ? 10 : 5; // a server answers over a socket
    table.add(QStringLiteral("scan-to-record, median"), ms(deskMedian), QStringLiteral("< %1 ms").arg(deskTarget),
              verdict(deskMedian < deskTarget));
    table.add(QStringLiteral("scan-to-record, p99"), ms(percentile(desk.ms, 0.99)));
    table.add(QStringLiteral("  queued events after it, median (not counted)"), ms(percentile(desk.drainMs, 0.5)));
    table.add(QStringLiteral("journal top row is the new event"),
              QStringLiteral("%1/%2").arg(options.events - desk.mismatches).arg(options.events), QString(),
              verdict(desk.mismatches == 0));
    const bool broke = desk.mismatches > 0;

    if (!onServer) {
        const double baseMedian = percentile(baseline.ms, 0.5);
        table.add(QStringLiteral("baseline (bare SQLite), median"), ms(baseMedian));
        table.add(QStringLiteral("baseline (bare SQLite), p99"), ms(percentile(baseline.ms, 0.99)));
        table.add(QStringLiteral("  its COMMIT (log write + disk sync), median"),
                  ms(percentile(baseline.commitMs, 0.5)));
        const double ratio = baseMedian > 0 ? deskMedian / baseMedian : 0;
        table.add(QStringLiteral("desk / baseline, medians"), QString::number(ratio, 'f', 2), QStringLiteral("<= 3"),
                  verdict(ratio <= 3));
        // Processor time leaves the disk out: the ratio that says how much the
        // program itself adds to the bare event.
        const double deskCpu = percentile(desk.cpuMs, 0.5);
        const double baseCpu = percentile(baseline.cpuMs, 0.5);
        table.add(QStringLiteral("desk processor time per event, median"), ms(deskCpu));
        table.add(QStringLiteral("baseline processor time per event, median"), ms(baseCpu));
        const double cpuRatio = baseCpu > 0 ? deskCpu / baseCpu : 0;
        table.add(QStringLiteral("desk / baseline processor time, medians"), QString::number(cpuRatio, 'f', 2),
                  QStringLiteral("<= 2"), verdict(cpuRatio <= 2));
    }

    ToolPageRun page;
    say(QStringLiteral("tool page: 20 openings and 20 narrowed searches..."));
    if (!measureToolPage(database.programFolder(), 20, page, error)) {
        say(QStringLiteral("FAILED: %1").arg(error));
        return 1;
    }
    const double openMedian = percentile(page.openMs, 0.5);
    const double narrowMedian = percentile(page.narrowMs, 0.5);
    table.add(QStringLiteral("tool page opened, median of 20"), ms(openMedian), QStringLiteral("< 100 ms"),
              verdict(openMedian < 100));
    table.add(QStringLiteral("tool page narrowed to \"%1\", median of 20").arg(page.typeText), ms(narrowMedian),
              QStringLiteral("< 100 ms"), verdict(narrowMedian < 100));

    // Another desk's events come in through the file here: measured on the file only.
    LiveJournalRun live;
    if (!onServer) {
        say(QStringLiteral("live journal: 100 looks with nothing new, 100 after another desk's event..."));
        if (!measureLiveJournal(database.programFolder(), database.dbPath(), 100, live, error)) {
            say(QStringLiteral("FAILED: %1").arg(error));
            return 1;
        }
        const double quietMedian = percentile(live.quietMs, 0.5);
        const double followMedian = percentile(live.followMs, 0.5);
        table.add(QStringLiteral("live journal: idle look, nothing new, median"), ms(quietMedian),
                  QStringLiteral("< 1 ms"), verdict(quietMedian < 1));
        table.add(QStringLiteral("live journal: another desk's event shown in place, median"), ms(followMedian),
                  QStringLiteral("< 100 ms"), verdict(followMedian < 100));
        table.add(QStringLiteral("live journal: new row on top, looked-at row kept"),
                  QStringLiteral("%1/100").arg(100 - live.misplaced), QString(), verdict(live.misplaced == 0));
    }

    // The server stopped and started under a running desk: how soon it shows another desk's event again.
    ServerRestartRun restart;
    if (options.restartServer) {
        say(QStringLiteral("server restart: 10 rounds, crash and fast shutdown in turn..."));
        if (!measureServerRestart(database.programFolder(), options.server, serverDatabase, 10, restart, error)) {
            say(QStringLiteral("FAILED: %1").arg(error));
            return 1;
        }
        const auto row = [&](const QString& how, const std::vector<double>& v) {
            const double worst = v.empty() ? 0 : *std::max_element(v.begin(), v.end());
            table.add(QStringLiteral("server back after %1: another desk's event shown, median (max) of %2")
                          .arg(how)
                          .arg(v.size()),
                      QStringLiteral("%1 (%2)").arg(ms(percentile(v, 0.5)), ms(worst)), QStringLiteral("< 2000 ms"),
                      verdict(!v.empty() && worst < 2000));
        };
        row(QStringLiteral("a crash"), restart.immediateMs);
        row(QStringLiteral("a fast shutdown"), restart.fastMs);
        table.add(QStringLiteral("  events not shown within 20 s"), QString::number(restart.lost), QStringLiteral("0"),
                  verdict(restart.lost == 0));
    }

    FourDesksRun four;
    say(QStringLiteral("four desks at once: 500 events each on 50 shared tools..."));
    if (!measureFourDesks(database.programFolder(), four, error)) {
        say(QStringLiteral("FAILED: %1").arg(error));
        return 1;
    }
    table.add(QStringLiteral("four desks at once, events per second (with their starts)"),
              QString::number(four.events / four.seconds, 'f', 0));
    table.add(QStringLiteral("  double issues / states not their last row / not recorded"),
              QStringLiteral("%1 / %2 / %3").arg(four.doubleIssues).arg(four.stateMismatches).arg(four.failures),
              QStringLiteral("0 / 0"), verdict(four.doubleIssues == 0 && four.stateMismatches == 0));

    std::printf("\n%s", qPrintable(table.text()));
    std::fflush(stdout);
    return broke || live.misplaced > 0 || restart.lost > 0 || four.doubleIssues > 0 || four.stateMismatches > 0 ? 1 : 0;
}
