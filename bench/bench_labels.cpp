// Time and memory to write 1,000 tool labels on A4 3 x 8 sheets (42 pages)
// as PDF: every code encoded, fitted, placed and painted, the file written
// whole. One warm-up and N timed runs; prints the median against its target
// and the peak memory. Exits non-zero only when the labels were not written,
// never for a missed target.
#include "PeakMemory.h"

#include "core/Messages.h"
#include "labels/LabelError.h"
#include "labels/LabelLayouts.h"
#include "labels/LabelRun.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kTargetMs = 2000;
constexpr double kTargetMemoryMb = 300;

struct Options {
    int labels = 1000;
    int runs = 5;
    QString symbol = QStringLiteral("code128");
    QString keep; // copy the last PDF here
};

bool parse(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--labels" && hasValue)
            o.labels = args[++i].toInt(&ok);
        else if (a == u"--runs" && hasValue)
            o.runs = args[++i].toInt(&ok);
        else if (a == u"--symbol" && hasValue)
            o.symbol = args[++i];
        else if (a == u"--keep" && hasValue)
            o.keep = args[++i];
        else
            return false;
        if (!ok || o.labels < 1 || o.runs < 1 || !labelSymbolFromName(o.symbol))
            return false;
    }
    return true;
}

QList<LabelItem> tools(int count)
{
    QList<LabelItem> items;
    items.reserve(count);
    for (int i = 1; i <= count; ++i)
        items.append({QStringLiteral("T%1").arg(i, 6, 10, QLatin1Char('0')),
                      QStringLiteral("Перфоратор аккумуляторный, модель %1").arg(i)});
    return items;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Options options;
    if (!parse(app.arguments(), options)) {
        std::fprintf(stderr,
                     "usage: bench_labels [--labels N] [--runs N] [--symbol code128|qr|datamatrix] "
                     "[--keep FILE]\n"
                     "  --labels N  tool labels (default 1000)\n"
                     "  --runs N    timed runs after one warm-up (default 5)\n"
                     "  --keep FILE copy the written PDF to FILE\n");
        return 2;
    }
    Messages texts;
    setMessages(texts, false);
    LabelRequest request;
    request.layout = *LabelLayouts::find(LabelLayouts::builtIn(), QStringLiteral("A4-70x37"));
    request.symbol = *labelSymbolFromName(options.symbol);
    const QList<LabelItem> items = tools(options.labels);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    std::vector<double> times;
    int pages = 0;
    try {
        for (int run = 0; run <= options.runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const LabelRun labels(items, request, texts);
            labels.writePdf(pdf);
            if (run > 0) // the first run warms the caches and loads the fonts
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
            pages = labels.pageCount();
        }
    } catch (const LabelError& e) {
        std::fprintf(stderr, "bench_labels: %s\n", qPrintable(e.text()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_labels: %s\n", e.what());
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double memoryMb = double(peakRssKb()) / 1024;
    std::printf("%d tool labels, %s, A4 70 x 37 mm 3 x 8 (%d pages), %d runs\n", options.labels,
                qPrintable(options.symbol), pages, options.runs);
    std::printf("  write PDF   median %.0f ms, best %.0f ms, worst %.0f ms  (target < %.0f ms: %s)\n", median,
                times.front(), times.back(), kTargetMs, median < kTargetMs ? "PASS" : "FAIL");
    std::printf("  PDF         %lld bytes\n", static_cast<long long>(QFileInfo(pdf).size()));
    std::printf("  peak memory %.1f MB  (target < %.0f MB: %s)\n", memoryMb, kTargetMemoryMb,
                memoryMb < kTargetMemoryMb ? "PASS" : "FAIL");
    if (!options.keep.isEmpty()) {
        QFile::remove(options.keep);
        if (!QFile::copy(pdf, options.keep)) {
            std::fprintf(stderr, "bench_labels: cannot copy to %s\n", qPrintable(options.keep));
            return 1;
        }
    }
    return 0;
}
