// Time to write the document of one large write-off act from the delivered
// Russian template. Prints a small table; exits non-zero only when the
// document could not be written, never for a missed target.
#include "writeoff/ActDocument.h"

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
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("act document, %d tools, %d runs\n", options.tools, options.runs);
    std::printf("  write time  median %.1f ms, best %.1f ms, worst %.1f ms  (target < %.0f ms: %s)\n", median,
                times.front(), times.back(), TargetMs, median < TargetMs ? "PASS" : "FAIL");
    std::printf("  document    %lld bytes\n", static_cast<long long>(QFileInfo(result.file).size()));
    if (!options.keep.isEmpty()) {
        QFile::remove(options.keep);
        if (!QFile::copy(result.file, options.keep)) {
            std::fprintf(stderr, "bench_act: cannot copy to %s\n", qPrintable(options.keep));
            return 1;
        }
    }
    return 0;
}
