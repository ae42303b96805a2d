// Time and memory to import 10,000 tools from an XLSX workbook written by
// libxlsxwriter (another producer than the program): the file read, the
// columns matched, every row's verdict (the preview), then every row written
// in one transaction, on a fresh copy of the delivered database each run.
// Prints the medians against the target and the peak memory; exits non-zero
// only when the import failed, never for a missed target.
#include "PeakMemory.h"

#include "core/Messages.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/WorkProgress.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/ImportPlan.h"
#include "import/ImportWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <xlsxwriter.h>

namespace {

constexpr double kTargetMs = 5000;
constexpr double kTargetMemoryMb = 300;

bool writeWorkbook(const QString& path, int tools)
{
    lxw_workbook* book = workbook_new(path.toLocal8Bit().constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd.mm.yyyy");
    const char* headings[] = {"Код",    "Наименование", "Тип",         "Место", "Производитель",
                              "Модель", "Серийный №",   "Инвентарный", "Цена",  "Приобретен"};
    for (lxw_col_t c = 0; c < 10; ++c)
        worksheet_write_string(sheet, 0, c, headings[c], nullptr);
    for (int i = 0; i < tools; ++i) {
        const lxw_row_t r = lxw_row_t(i + 1);
        auto text = [&](lxw_col_t c, const QString& value) {
            worksheet_write_string(sheet, r, c, value.toUtf8().constData(), nullptr);
        };
        text(0, QStringLiteral("T%1").arg(i, 5, 10, QLatin1Char('0')));
        text(1, QStringLiteral("Дрель ударная №%1").arg(i));
        text(2, QStringLiteral("Тип %1").arg(i % 40));
        text(3, QStringLiteral("Стеллаж %1").arg(i % 200));
        text(4, QStringLiteral("Bosch"));
        text(5, QStringLiteral("GBH 2-%1").arg(i % 30));
        text(6, QStringLiteral("SN-%1").arg(i));
        text(7, QStringLiteral("ИНВ-%1").arg(i));
        worksheet_write_number(sheet, r, 8, 1000 + i % 5000 + 0.5, nullptr);
        lxw_datetime day = {2020 + i % 5, 1 + i % 12, 1 + i % 28, 0, 0, 0};
        worksheet_write_datetime(sheet, r, 9, &day, date);
    }
    return workbook_close(book) == LXW_NO_ERROR;
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
    int tools = 10000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--tools")
            tools = args[i + 1].toInt();
        else if (args[i] == u"--runs")
            runs = std::max(1, args[i + 1].toInt());
    }
    QTemporaryDir dir;
    const QString workbook = dir.filePath(QStringLiteral("tools.xlsx"));
    if (!writeWorkbook(workbook, tools)) {
        std::fprintf(stderr, "the workbook was not written\n");
        return 1;
    }
    Messages texts;
    setMessages(texts, true);
    std::vector<double> previews, writes, totals;
    for (int run = 0; run <= runs; ++run) { // run 0 warms the caches up
        const QString db = dir.filePath(QStringLiteral("DB%1.mdb").arg(run));
        QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/DB.mdb"), db);
        QFile(db).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        try {
            Connection connection;
            connection.open(db);
            SilentProgress progress;
            QElapsedTimer t;
            t.start();
            ImportRequest request;
            request.kind = ImportKind::Tools;
            request.table = readImportFile(workbook, texts);
            request.match = matchColumns(request.kind, request.table.headings);
            request.placePrefix = QStringLiteral("PL-");
            request.russian = true;
            const ImportPlan plan = ImportPlan::make(connection, request, texts, progress);
            const double preview = double(t.nsecsElapsed()) / 1e6;
            if (plan.count(RowVerdict::New) != tools) {
                std::fprintf(stderr, "only %d of %d rows are new\n", plan.count(RowVerdict::New), tools);
                return 1;
            }
            t.restart();
            ImportWriter(connection, texts).write(request, plan, progress);
            const double write = double(t.nsecsElapsed()) / 1e6;
            if (run > 0) {
                previews.push_back(preview);
                writes.push_back(write);
                totals.push_back(preview + write);
            }
        } catch (const ImportError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.text()));
            return 1;
        } catch (const DbError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.text()));
            return 1;
        }
        QFile::remove(db);
    }
    const double peakMb = double(peakRssKb()) / 1024.0;
    std::printf("import of %d tools from XLSX (%lld bytes), median of %d runs\n", tools,
                static_cast<long long>(QFile(workbook).size()), runs);
    std::printf("  read + match + preview  %8.0f ms\n", median(previews));
    std::printf("  write (one transaction) %8.0f ms\n", median(writes));
    std::printf("  together                %8.0f ms   target < %.0f ms: %s\n", median(totals), kTargetMs,
                median(totals) < kTargetMs ? "met" : "NOT met");
    std::printf("  peak memory             %8.1f MB   target < %.0f MB: %s\n", peakMb, kTargetMemoryMb,
                peakMb < kTargetMemoryMb ? "met" : "NOT met");
    return 0;
}
