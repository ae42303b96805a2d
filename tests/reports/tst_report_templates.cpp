#include "ConsumerTools.h"
#include "ReportDb.h"

#include "reportengine/ComputedFieldSource.h"
#include "reportengine/PreparedReport.h"
#include "reportengine/QueryRowSource.h"
#include "reportengine/ReportError.h"
#include "reportengine/ReportPdfWriter.h"
#include "reportengine/ReportTemplates.h"
#include "reportengine/TableRowSource.h"
#include "reportengine/TfrxMemoView.h"
#include "reportengine/TfrxRTFExport.h"
#include "reportengine/TfrxReport.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

namespace {

const QDate kToday(2026, 12, 10);

// The tools in the store (or out of it), by type.
Select toolsByType(bool inStore)
{
    return Select(QStringLiteral("Tools"))
        .where(QStringLiteral("Passed = ?"), {inStore ? 1 : 0})
        .orderBy(QStringLiteral("Tool_Type"));
}

QString oneSpaced(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.replace(space, QStringLiteral(" "));
}

// The three reports of the program over one small database, as their
// windows fill them: what each must print, in order.
struct Fixture {
    Fixture()
        : history(rdb.db)
        , inStore(rdb.db)
        , out(rdb.db)
        , users(rdb.db)
        , journal(rdb.db)
        , onHand(rdb.db)
    {
        ivanovId = rdb.addUser(QStringLiteral("U001"), QStringLiteral("Иванов [ст.] Иван"),
                               QStringLiteral("ООО Ромашка"));
        rdb.addUser(QStringLiteral("U002"), QStringLiteral("Petrov Petr"), QStringLiteral("Acme"));
        const QString ivanov = QString::number(ivanovId);
        rdb.addTool({"T1", "Перфоратор", "Bosch", "GBH 2-26", "INV-1", "SN-1", "Исправен", 4200.0, QVariant(), 1, "0"});
        rdb.addTool({"T2", "Дрель", "Makita", "HP1630", "INV-2", "SN-2", "Исправен", 1500.0, "2026-11-02", 0, ivanov});
        rdb.addTool({"T3", "Болгарка", "DeWalt", "DWE4057", "INV-3", "SN-3", "Ремонт", 250.5, QVariant(), 0, ivanov});
        rdb.addTool({"T4", "Ключ", "Jonnesway", "W26", "INV-4", "SN-4", "Исправен", 0.0, QVariant(), 0, "999"});
        rdb.addTool({"T5", "Дрель", "Metabo", "SBE 650", "INV-5", "SN-5", "Исправен", 900.0, QVariant(), 1, "0"});
        rdb.addEvent({"2026-12-10", "09:30:15", "Выдан", "Иванов [ст.] Иван", "Дрель", "Makita HP1630", "ООО Ромашка",
                      "Исправен", "до пятницы", "U001"});
        rdb.addEvent({"2026-12-10", "10:05:00", "Выдан", "Иванов [ст.] Иван", "Болгарка", "DeWalt DWE4057",
                      "ООО Ромашка", "Ремонт", "", "U001"});
        rdb.addEvent({"2026-12-11", "17:45:59", "Сдан", "Petrov Petr", "Ключ", "Jonnesway W26", "Acme", "Исправен",
                      "returned {late}", "U002"});
        rdb.addEvent({"2027-02-01", "08:00:00", "Выдан", "Petrov Petr", "Ключ", "Jonnesway W26", "Acme", "Исправен",
                      "outside the range", "U002"});

        // The windows' own statements: rows of one table, typed by its columns.
        history.setStatement(
            Select(QStringLiteral("History"))
                .columns({"ADate", "ATime", "Operation", "FIO", "IType", "Model", "Organization", "State", "Note"})
                .where(QStringLiteral("ADate BETWEEN ? AND ?"),
                       {QStringLiteral("2026-12-10"), QStringLiteral("2027-01-10")}));
        history.open();
        inStore.setStatement(toolsByType(true));
        inStore.open();
        out.setStatement(toolsByType(false));
        out.open();
        users.setStatement(Select(QStringLiteral("Users")));
        users.open();
        journal.setStatement(Select(QStringLiteral("History"))
                                 .where(QStringLiteral("ID_U = ?"), {QStringLiteral("U001")})
                                 .orderBy(QStringLiteral("ID"), true));
        journal.open();
        onHand.setStatement(toolsByType(false).where(QStringLiteral("OwnerID = ?"), {ivanov}));
        onHand.open();

        outRows = std::make_unique<QueryRowSource>(out);
        outWithHolder = std::make_shared<ComputedFieldSource>(*outRows, QStringLiteral("OwnerFIO"),
                                                              [this](const RowSource& row) { return holderOf(row); });
    }

    // The holder's name among the recipients the list holds, or nothing.
    QVariant holderOf(const RowSource& row)
    {
        const QString owner = row.value(row.fieldIndex(QStringLiteral("OwnerID"))).toString();
        for (int r = 0; r < users.fetchedCount(); ++r) {
            if (users.value(r, users.fieldIndex(QStringLiteral("ID"))).toString() == owner)
                return users.value(r, users.fieldIndex(QStringLiteral("FIO")));
        }
        return {};
    }

    std::unique_ptr<TfrxReport> load(const QString& name)
    {
        auto report = ReportTemplates::load(name);
        report->setToday([] { return kToday; });
        if (name.startsWith(QLatin1String("frxReport_Invent"))) {
            report->dataSet(QStringLiteral("frxDBDataset_PasTr"))->setQuery(inStore);
            report->dataSet(QStringLiteral("frxDBDataset_PasFls"))->setSource(outWithHolder);
        } else if (name.startsWith(QLatin1String("frxReport_ToolOnH"))) {
            report->dataSet(QStringLiteral("frxDBDataset1"))->setQuery(onHand);
            report->dataSet(QStringLiteral("frxDBDataset_FIO"))->setQuery(journal);
            report->FindObject(QStringLiteral("recCount"))->setText(QStringLiteral("2"));
            report->FindObject(QStringLiteral("frxFIO"))->setText(QStringLiteral("Иванов [ст.] Иван"));
            report->FindObject(QStringLiteral("frxOrganization"))->setText(QStringLiteral("ООО Ромашка"));
            report->FindObject(QStringLiteral("frxID_U"))->setText(QStringLiteral("U001"));
            report->FindObject(QStringLiteral("frxSUM"))->setText(QStringLiteral("1750,5"));
        } else if (name.startsWith(QLatin1String("frxReport_Out"))) {
            auto rows = std::make_shared<TableRowSource>(
                QStringList{"Code", "Name", "Type", "Holder", "Department", "IssuedAt", "DaysOut", "Due", "Overdue"});
            rows->addRow({"T-1", "Дрель ударная", "Дрель", "Иванов [ст.] Иван", "Сборка", "01.12.2026 09:00", "9",
                          "06.12.2026", "4"});
            rows->addRow({"T-2", "Ключ", "Ключ", "Petrov Petr", "Склад", "05.12.2026 10:30", "5", "", ""});
            auto head = std::make_shared<TableRowSource>(QStringList{"Title", "Counts"});
            head->addRow({"Выданный инструмент", "выдано: 2, просрочено: 1"});
            report->dataSet(QStringLiteral("frxDBDataset1"))->setSource(rows);
            report->dataSet(QStringLiteral("frxDBDataset_Head"))->setSource(head);
        } else {
            report->dataSet(QStringLiteral("frxDBDataset1"))->setQuery(history);
        }
        return report;
    }

    // Everything the report must show, in reading order. Two Russian headings
    // of the tools that are out take two lines: their row grows to show both
    // (a PDF reads the heading row line by line).
    QStringList expected(const QString& name, bool pdf = false) const
    {
        const bool ru = !name.endsWith(QLatin1String("EN"));
        if (name.startsWith(QLatin1String("frxReport_Invent"))) {
            QStringList e{ru ? "Инвентаризация инструмента" : "Tool inventory",
                          ru ? "Инструмент на складе:" : "Stock tool:"};
            e << (ru ? QStringList{"Тип инструмента", "Производитель", "Модель", "Инвентарный", "Серийный №",
                                   "Состояние", "Отметка"}
                     : QStringList{"Tool", "Brand", "Model", "Inventory", "Serial #", "Condition", "Note"});
            e << QStringList{"Дрель", "Metabo", "SBE 650", "INV-5", "SN-5", "Исправен"};
            e << QStringList{"Перфоратор", "Bosch", "GBH 2-26", "INV-1", "SN-1", "Исправен"};
            e << (ru ? "Инструмент на руках:" : "Hand tool:");
            if (ru && pdf)
                e << QStringList{"Тип",       "Производитель", "Модель",  "Инв.№",       "Серийный",
                                 "Состояние", "На руках",      "Отметка", "инструмента", "номер"};
            else if (ru)
                e << QStringList{"Тип инструмента", "Производитель", "Модель",   "Инв.№",
                                 "Серийный номер",  "Состояние",     "На руках", "Отметка"};
            else
                e << QStringList{"Tool", "Brand", "Model", "Inventory", "Serial #", "Condition", "Name", "Note"};
            e << QStringList{"Болгарка", "DeWalt", "DWE4057", "INV-3", "SN-3", "Ремонт", "Иванов [ст.] Иван"};
            e << QStringList{"Дрель", "Makita", "HP1630", "INV-2", "SN-2", "Исправен", "Иванов [ст.] Иван"};
            e << QStringList{"Ключ", "Jonnesway", "W26", "INV-4", "SN-4", "Исправен"};
            return e;
        }
        if (name.startsWith(QLatin1String("frxReport_ToolOnH"))) {
            QStringList e{ru ? "Ведомость полученного инструмента" : "Statement of received tool"};
            e << (ru ? "Сотрудник:" : "User:") << "Иванов [ст.] Иван" << (ru ? "Карта получателя №:" : "User card №:")
              << "U001" << (ru ? "Организация:" : "Company:") << "ООО Ромашка"
              << (ru ? "Общее количество:" : "Tool amount:") << "2";
            if (ru)
                e << "шт.";
            e << (ru ? "Общая стоимость:" : "Total cost:") << "1750,5" << (ru ? "Список инструмента" : "Tool list");
            e << (ru ? QStringList{"№ п/п", "Тип", "Производитель", "Модель", "Инвентарный", "Стоимость", "Получен"}
                     : QStringList{"№", "Tool", "Brand", "Model", "Inventory", "Price", "Received"});
            e << QStringList{"1", "Болгарка", "DeWalt", "DWE4057", "INV-3", "250.50"};
            e << QStringList{"2", "Дрель", "Makita", "HP1630", "INV-2", "1,500.00", "02.11.2026"};
            e << QString(ru ? "Кладовщик " : "Storekeeper ") + QString(43, u'_');
            return e;
        }
        if (name.startsWith(QLatin1String("frxReport_Out"))) {
            // The title and counts come from the page, in its language.
            QStringList e{ru ? "Отчет от" : "Report of", "10.12.2026", "Выданный инструмент",
                          "выдано: 2, просрочено: 1"};
            e << (ru ? QStringList{"№", "Код", "Наименование", "Тип", "Кому выдан", "Отдел", "Выдан", "Дней",
                                   "Срок возврата"}
                     : QStringList{"№", "Code", "Name", "Type", "Holder", "Department", "Issued at", "Days",
                                   "Due date"});
            e << QStringList{
                "1",          "T-1", "Дрель ударная", "Дрель", "Иванов [ст.] Иван", "Сборка", "01.12.2026 09:00", "9",
                "06.12.2026", "4"};
            e << QStringList{"2", "T-2", "Ключ", "Ключ", "Petrov Petr", "Склад", "05.12.2026 10:30", "5"};
            return e;
        }
        QStringList e{ru ? "Отчет от" : "Report from", "10.12.2026",
                      ru ? "История выдачи инструмента" : "Tool Issue History"};
        e << (ru ? QStringList{"№", "Дата", "Статус", "Получатель", "Тип инструмента", "Модель", "Организация",
                               "Комментарий"}
                 : QStringList{"№", "Date", "Status", "User", "Tool", "Model", "Company", "Note"});
        // The Russian template prints the tool's type, the English one the time.
        e << QStringList{
            "1",           "10.12.2026", "Выдан", "Иванов [ст.] Иван", ru ? "Дрель" : "09:30:15", "Makita HP1630",
            "ООО Ромашка", "до пятницы"};
        e << QStringList{
            "2",          "10.12.2026", "Выдан", "Иванов [ст.] Иван", ru ? "Болгарка" : "10:05:00", "DeWalt DWE4057",
            "ООО Ромашка"};
        e << QStringList{"3",    "11.12.2026",     "Сдан", "Petrov Petr", ru ? "Ключ" : "17:45:59", "Jonnesway W26",
                         "Acme", "returned {late}"};
        return e;
    }

    ReportDb rdb;
    qint64 ivanovId = 0;
    Query history;
    Query inStore;
    Query out;
    Query users;
    Query journal;
    Query onHand;
    std::unique_ptr<QueryRowSource> outRows;
    std::shared_ptr<ComputedFieldSource> outWithHolder;
};

} // namespace

class TstReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void templatesNameTheirObjects();
    void pdfShowsEveryCell_data();
    void pdfShowsEveryCell();
    void rtfReadsBackInLibreOffice_data();
    void rtfReadsBackInLibreOffice();
    void historyTimeSwitch();
    void inventoryWithoutTools();
    void readingLeavesTheWindowsRowsAlone();

private:
    void addRows();

    std::unique_ptr<Fixture> m_fx;
    QTemporaryDir m_dir;
    QHash<QString, int> m_pages;
    QHash<QString, QString> m_rtfText;
    QHash<QString, QString> m_rtfPdf;
};

void TstReportTemplates::initTestCase()
{
    if (qEnvironmentVariableIsSet("TOOLDESK_KEEP_REPORTS"))
        m_dir.setAutoRemove(false);
    // The program sets its locale before any report; prices follow it.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_fx = std::make_unique<Fixture>();
    QStringList rtfs;
    for (const QString& name : ReportTemplates::names()) {
        auto report = m_fx->load(name);
        report->PrepareReport(true);
        m_pages.insert(name, static_cast<int>(report->prepared()->pages.size()));
        ReportPdfWriter::write(*report->prepared(), m_dir.filePath(name + QStringLiteral(".pdf")));
        TfrxRTFExport filter;
        filter.OnBeforeExport = [this, name](TfrxRTFExport& f) { f.FileName = m_dir.filePath(name + ".rtf"); };
        QCOMPARE(report->Export(filter), ExportResult::Written);
        rtfs << filter.FileName;
    }
    // One LibreOffice run per output kind: it takes seconds to start.
    const QString txtDir = m_dir.filePath(QStringLiteral("txt"));
    const QString pdfDir = m_dir.filePath(QStringLiteral("lo-pdf"));
    consumers::convert(rtfs, QStringLiteral("txt:Text (encoded):UTF8"), txtDir);
    consumers::convert(rtfs, QStringLiteral("pdf"), pdfDir);
    for (const QString& name : ReportTemplates::names()) {
        m_rtfText.insert(name, consumers::readUtf8(txtDir + u'/' + name + QStringLiteral(".txt")));
        m_rtfPdf.insert(name, pdfDir + u'/' + name + QStringLiteral(".pdf"));
    }
}

void TstReportTemplates::templatesNameTheirObjects()
{
    // The memos and data sets the windows reach by name.
    const QList<std::pair<QString, QStringList>> objects{
        {"frxReport_RU", {"frxDBDataset1IType", "Memo9", "Date"}},
        {"frxReport_EN", {"frxDBDataset1IType", "Memo9", "Date"}},
        {"frxReport_Invent_RU", {}},
        {"frxReport_Invent_EN", {}},
        {"frxReport_ToolOnH", {"recCount", "frxFIO", "frxOrganization", "frxID_U", "frxSUM"}},
        {"frxReport_ToolOnH_EN", {"recCount", "frxFIO", "frxOrganization", "frxID_U", "frxSUM"}},
        {"frxReport_Out_RU", {"Date"}},
        {"frxReport_Out_EN", {"Date"}},
    };
    const QHash<QString, QStringList> dataSets{
        {"frxReport_RU", {"frxDBDataset1"}},
        {"frxReport_EN", {"frxDBDataset1"}},
        {"frxReport_Invent_RU", {"frxDBDataset_PasTr", "frxDBDataset_PasFls"}},
        {"frxReport_Invent_EN", {"frxDBDataset_PasTr", "frxDBDataset_PasFls"}},
        {"frxReport_ToolOnH", {"frxDBDataset1", "frxDBDataset_FIO"}},
        {"frxReport_ToolOnH_EN", {"frxDBDataset1", "frxDBDataset_FIO"}},
        {"frxReport_Out_RU", {"frxDBDataset1", "frxDBDataset_Head"}},
        {"frxReport_Out_EN", {"frxDBDataset1", "frxDBDataset_Head"}},
    };
    QCOMPARE(ReportTemplates::names().size(), objects.size());
    for (const auto& [name, memos] : objects) {
        auto report = ReportTemplates::load(name);
        QCOMPARE(report->name(), name);
        for (const QString& memo : memos)
            QVERIFY2(report->FindObject(memo), qPrintable(name + u' ' + memo));
        for (const QString& ds : dataSets.value(name))
            QVERIFY2(report->dataSet(ds), qPrintable(name + u' ' + ds));
    }
    auto ru = ReportTemplates::load(QStringLiteral("frxReport_RU"));
    QCOMPARE(ru->FindObject(QStringLiteral("frxDBDataset1IType"))->dataField(), QStringLiteral("IType"));
    QCOMPARE(ru->FindObject(QStringLiteral("Memo9"))->text().source(), QStringLiteral("Тип инструмента"));
    auto en = ReportTemplates::load(QStringLiteral("frxReport_EN"));
    QCOMPARE(en->FindObject(QStringLiteral("frxDBDataset1IType"))->dataField(), QStringLiteral("ATime"));
    QCOMPARE(en->FindObject(QStringLiteral("frxDBDataset1IType"))->displayFormat().formatStr,
             QStringLiteral("hh:mm:ss"));
    QCOMPARE(en->page().orientation(), QPageLayout::Landscape);
    QVERIFY_THROWS_EXCEPTION(ReportError, ReportTemplates::load(QStringLiteral("frxReport_DE")));
}

void TstReportTemplates::pdfShowsEveryCell_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pageSize");
    for (const QString& name : ReportTemplates::names()) {
        const bool landscape = name == u"frxReport_RU" || name == u"frxReport_EN" || name.startsWith(u"frxReport_Out");
        QTest::newRow(qPrintable(name)) << name
                                        << (landscape ? QStringLiteral("842 x 595") : QStringLiteral("595 x 842"));
    }
}

void TstReportTemplates::pdfShowsEveryCell()
{
    QFETCH(QString, name);
    QFETCH(QString, pageSize);
    const QString pdf = m_dir.filePath(name + QStringLiteral(".pdf"));
    const QString text = oneSpaced(consumers::pdfText(pdf));
    const QString missing = consumers::missingInOrder(text, m_fx->expected(name, true));
    QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral("\n") + text));
    QVERIFY(!text.contains(QLatin1String("outside the range")));
    QVERIFY2(consumers::samePageSize(pdf, pageSize), qPrintable(consumers::pdfPageSize(pdf)));
    QCOMPARE(consumers::pdfPages(pdf), m_pages.value(name));
}

void TstReportTemplates::rtfReadsBackInLibreOffice_data()
{
    pdfShowsEveryCell_data();
}

void TstReportTemplates::rtfReadsBackInLibreOffice()
{
    QFETCH(QString, name);
    QFETCH(QString, pageSize);
    const QString text = oneSpaced(m_rtfText.value(name));
    QVERIFY2(!text.isEmpty(), "LibreOffice made no text of the RTF file");
    const QString missing = consumers::missingInOrder(text, m_fx->expected(name));
    QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral("\n") + text));
    // Laid out by LibreOffice itself: the same paper and the same pages.
    const QString pdf = m_rtfPdf.value(name);
    QVERIFY2(consumers::samePageSize(pdf, pageSize), qPrintable(consumers::pdfPageSize(pdf)));
    QCOMPARE(consumers::pdfPages(pdf), m_pages.value(name));
}

void TstReportTemplates::historyTimeSwitch()
{
    // The settings window's switch: the fifth column shows the time.
    auto report = m_fx->load(QStringLiteral("frxReport_RU"));
    TfrxMemoView* cell = report->FindObject(QStringLiteral("frxDBDataset1IType"));
    QVERIFY(cell);
    cell->setDataField(QStringLiteral("frxDBDataset1"), QStringLiteral("ATime"));
    cell->setDisplayFormat({DisplayFormat::Kind::DateTime, QStringLiteral("hh:mm:ss")});
    report->FindObject(QStringLiteral("Memo9"))->setText(QStringLiteral("Время"));
    report->PrepareReport(true);
    const QStringList texts = report->prepared()->texts();
    QVERIFY(texts.contains(QStringLiteral("Время")));
    QVERIFY(!texts.contains(QStringLiteral("Тип инструмента")));
    QVERIFY(texts.contains(QStringLiteral("17:45:59")));
    QVERIFY(!texts.contains(QStringLiteral("Ключ")));

    // And back: the type as text.
    cell->setDataField(QStringLiteral("frxDBDataset1"), QStringLiteral("IType"));
    cell->setDisplayFormat({});
    report->PrepareReport(true);
    QVERIFY(report->prepared()->texts().contains(QStringLiteral("Ключ")));
}

void TstReportTemplates::inventoryWithoutTools()
{
    ReportDb empty;
    Query inStore(empty.db);
    inStore.setStatement(toolsByType(true));
    inStore.open();
    Query out(empty.db);
    out.setStatement(toolsByType(false));
    out.open();
    auto report = ReportTemplates::load(QStringLiteral("frxReport_Invent_EN"));
    report->dataSet(QStringLiteral("frxDBDataset_PasTr"))->setQuery(inStore);
    report->dataSet(QStringLiteral("frxDBDataset_PasFls"))->setQuery(out);
    report->PrepareReport(true);
    QCOMPARE(report->prepared()->pages.size(), size_t(1));
    const QStringList texts = report->prepared()->texts();
    for (const char* t :
         {"Tool inventory", "Stock tool:", "Tool", "Brand", "Model", "Inventory", "Serial #", "Condition", "Note", "1"})
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    QVERIFY(!texts.contains(QStringLiteral("Hand tool:")));
}

void TstReportTemplates::readingLeavesTheWindowsRowsAlone()
{
    // The history query's grid stays on its row while the report reads all.
    m_fx->history.setRecNo(1);
    auto report = m_fx->load(QStringLiteral("frxReport_RU"));
    report->PrepareReport(true);
    QCOMPARE(m_fx->history.recNo(), 1);
    QVERIFY(m_fx->history.isOpen());
}

QTEST_MAIN(TstReportTemplates)
#include "tst_report_templates.moc"
