// Time and memory to export 100,000 tools, every column shown, to Excel
// (and to CSV beside it): the rows read page by page from the database and
// written whole into the file. One warm-up and N timed runs; prints the
// medians against the target and the peak memory (getrusage). Exits
// non-zero only when a file was not written, never for a missed target.
#include "core/Messages.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/WorkProgress.h"
#include "export/RegisterTables.h"
#include "export/TableExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr double kTargetSeconds = 5;
constexpr double kTargetMemoryMb = 300;

struct Options {
    int tools = 100000;
    int runs = 3;
};

bool parse(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        bool ok = i + 1 < args.size();
        if (ok && args[i] == u"--tools")
            o.tools = args[++i].toInt(&ok);
        else if (ok && args[i] == u"--runs")
            o.runs = args[++i].toInt(&ok);
        else
            return false;
        if (!ok || o.tools < 1 || o.runs < 1)
            return false;
    }
    return true;
}

// Processor time of the process so far: on a busy machine the wall clock
// also counts the time other work had the cores.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kB on Linux
}

// Tools as a store has them: Cyrillic names and types, prices with kopecks,
// dates, a tenth issued, some written off, no photos.
void fill(Connection& db, int count)
{
    static const char* const types[] = {"Дрель", "Перфоратор", "Шуруповёрт", "Ключ динамометрический", "Пила"};
    Connection::Transaction transaction(db);
    for (int i = 1; i <= count; ++i) {
        const QString code = QStringLiteral("T%1").arg(i, 6, 10, QLatin1Char('0'));
        db.exec(
            QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, SNumber, Model, "
                           "Tool_State, Date_Purchase, Guarantee, Price, Naim, Inv, Mesto, Passed, WriteOff) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {code, code, QString::fromUtf8(types[i % 5]), QStringLiteral("Bosch"), QStringLiteral("SN-%1").arg(i),
             QStringLiteral("GSB %1").arg(i % 100), QStringLiteral("новый"),
             QDate(2020, 1, 1).addDays(i % 1500).toString(Qt::ISODate),
             QDate(2023, 1, 1).addDays(i % 1500).toString(Qt::ISODate), 100 + (i % 10000) / 100.0,
             QStringLiteral("%1 №%2, склад; стеллаж \"%3\"").arg(QString::fromUtf8(types[i % 5])).arg(i).arg(i % 40),
             QStringLiteral("ИНВ-%1").arg(i), QStringLiteral("Стеллаж %1").arg(i % 40), i % 10 != 0, i % 97 == 0});
    }
    transaction.commit();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(app.arguments(), options)) {
        std::fprintf(stderr, "usage: bench_export [--tools N] [--runs N]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data"));
    QDir().mkpath(data);
    for (const char* name : {"DB.mdb", "Config.ini"})
        QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/") + QLatin1String(name),
                    data + u'/' + QLatin1String(name));
    Connection db;
    db.open(data + QStringLiteral("/DB.mdb"));
    QElapsedTimer t;
    t.start();
    fill(db, options.tools);
    std::printf("generated %d tools in %.1f s\n", options.tools, double(t.elapsed()) / 1000);

    Settings settings(data + QStringLiteral("/Config.ini"));
    settings.load();
    for (int n = 1; n <= Settings::ToolColumnCount; ++n)
        settings.setToolColumnVisible(n, true);
    Messages texts;
    setMessages(texts, true);
    const ExportTable table = wholeToolRegister(db, settings, true);

    std::printf("| file | rows | median of %d (best–worst) | processor time, median | size | target |\n"
                "|---|---|---|---|---|---|\n",
                options.runs);
    for (const char* name : {"tools.xlsx", "tools.csv"}) {
        const QString file = dir.filePath(QLatin1String(name));
        std::vector<double> seconds;
        std::vector<double> processor;
        qint64 rows = 0;
        for (int run = 0; run <= options.runs; ++run) {
            SilentProgress progress;
            t.restart();
            const double processorBefore = processorSeconds();
            try {
                rows = exportTable(db, table, file, *exportFormatOf(file), progress, texts).rows;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s was not written: %s\n", name, e.what());
                return 1;
            }
            if (run > 0) { // the first warms the caches
                seconds.push_back(double(t.nsecsElapsed()) / 1e9);
                processor.push_back(processorSeconds() - processorBefore);
            }
        }
        std::printf("| %s | %lld | %.2f s (%.2f–%.2f) | %.2f s | %.1f MB | %s |\n", name, static_cast<long long>(rows),
                    median(seconds), *std::min_element(seconds.begin(), seconds.end()),
                    *std::max_element(seconds.begin(), seconds.end()), median(processor),
                    double(QFileInfo(file).size()) / 1e6,
                    qstrcmp(name, "tools.xlsx") == 0
                        ? QByteArray("< ").append(QByteArray::number(kTargetSeconds)).append(" s").constData()
                        : "");
    }
    std::printf("peak memory of the whole run: %.0f MB (target < %.0f MB)\n", peakMemoryMb(), kTargetMemoryMb);
    return 0;
}
