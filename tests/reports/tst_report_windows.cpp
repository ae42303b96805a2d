// The three reports built through their windows from a small journal and
// register, written to PDF and RTF, and read back as a user's programs read
// them; the file names, the time switch of the history templates and the
// inventory's holder names.
#include "ConsumerTools.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/DbFixture.h"
#include "recipients/TfmCard_U.h"
#include "reportengine/ReportPdfWriter.h"
#include "reportengine/ReportPreview.h"
#include "reportengine/TfrxMemoView.h"
#include "reportengine/TfrxReport.h"
#include "reportpage/TfmReport.h"
#include "reports/HistoryReport.h"
#include "reports/OnHandStatement.h"
#include "support/DeskFixture.h"
#include "support/MappedLibrary.h"
#include "tools/TfmTools.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

namespace {

const QString kHolder = QStringLiteral("Иванов [И.И.]/цех");

QString oneSpaced(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.replace(space, QStringLiteral(" ")).trimmed();
}

void addJournal(DeskFixture& f, const QString& date, const QString& fio, const QString& type, const QString& model)
{
    f.db().exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, Note, FIO, IType, Model, Organization) "
                "VALUES ('U1', 'T1', ?, '10:11:12', 'Выдан', 'заметка', ?, ?, ?, 'Цех 1')",
                {date, fio, type, model});
}

// Two tools in the store, one out with the holder kHolder.
void addRegister(DeskFixture& f)
{
    f.addRecipient(QStringLiteral("U100"), kHolder, QStringLiteral("Цех 7"));
    f.addTool(QStringLiteral("T100"), QStringLiteral("Дрель"), QStringLiteral("Bosch"), QStringLiteral("GSB 13"));
    f.addTool(QStringLiteral("T101"), QStringLiteral("Ключ"), QStringLiteral("Makita"), QStringLiteral("K2"));
    f.addTool(QStringLiteral("T102"), QStringLiteral("Анкер"), QStringLiteral("Hilti"), QStringLiteral("TE 30"));
    f.db().exec("UPDATE Tools SET Price=1500 WHERE ID_Tool='T102'");
    f.scan(QStringLiteral("U100"));
    f.scan(QStringLiteral("T102"));
}

QString rtfText(const QString& rtf)
{
    const QString outDir = QFileInfo(rtf).absolutePath();
    consumers::convert({rtf}, QStringLiteral("txt:Text (encoded):UTF8"), outDir);
    return consumers::readUtf8(QDir(outDir).filePath(QFileInfo(rtf).completeBaseName() + QStringLiteral(".txt")));
}

// Clicks the history page's report button; the preview saves a PDF and an RTF.
void runHistory(DeskFixture& f, const QString& pdf, const QString& rtf)
{
    f.fakes().dialogs.saveFileAnswers = {pdf, rtf};
    f.fakes().dialogs.modalScripts.push_back([](QDialog& window) {
        ReportPreview* found = ReportPreview::of(window);
        QVERIFY(found);
        ReportPreview& preview = *found;
        QCOMPARE(preview.savePdfAction()->text(), QStringLiteral("Сохранить в PDF"));
        QCOMPARE(preview.exportRtfAction()->text(), QStringLiteral("Экспорт в RTF"));
        QVERIFY(preview.saveAsPdf());
        QVERIFY(preview.exportToRtf());
    });
    f.control<QPushButton>("TfmReport", "Button1")->click();
}

} // namespace

class TestReportWindows : public QObject
{
    Q_OBJECT

private slots:
    void historyPageStartsOnTodayToAMonthAhead();
    void defaultLastDay_data();
    void defaultLastDay();
    void historyReportListsTheRangeInBothFiles();
    void previewNamesTheReportAndProposesReportsFolder_data();
    void previewNamesTheReportAndProposesReportsFolder();
    void timeSwitchChangesTheStoredLanguagesTemplateOnly_data();
    void timeSwitchChangesTheStoredLanguagesTemplateOnly();
    void timeSwitchIsAppliedAgainWhenTheMainWindowFirstShows();
    void inventoryNamesHoldersOutsideTheRecipientSearch();
    void inventoryAsksBeforeReplacingAFileOfTheSameSecond();
    void writtenReportNoProgramOpensSaysWhere_data();
    void writtenReportNoProgramOpensSaysWhere();
    void statementPrintsTheNameAsTypedUnderASafeFileName();
    void statementOfANameLongerThanAFileName();
    void statementPdfHoldsWhatItsRtfHolds();
    void safeFileName_data();
    void safeFileName();
    void longNameCutToFit_data();
    void longNameCutToFit();
    void unwrittenReportLeavesTheEarlierFile_data();
    void unwrittenReportLeavesTheEarlierFile();
};

void TestReportWindows::historyPageStartsOnTodayToAMonthAhead()
{
    DeskFixture f; // the fake clock reads 10 December 2026
    QCOMPARE(f.control<QDateEdit>("TfmReport", "DateTimePicker1")->date(), QDate(2026, 12, 10));
    QCOMPARE(f.control<QDateEdit>("TfmReport", "DateTimePicker2")->date(), QDate(2027, 1, 10));
}

void TestReportWindows::defaultLastDay_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("last");
    QTest::newRow("plain") << QDate(2026, 12, 10) << QDate(2027, 1, 10);
    QTest::newRow("shorter month") << QDate(2027, 1, 31) << QDate(2027, 2, 28);
    QTest::newRow("leap year") << QDate(2028, 1, 30) << QDate(2028, 2, 29);
}

void TestReportWindows::defaultLastDay()
{
    QFETCH(QDate, today);
    QFETCH(QDate, last);
    QCOMPARE(HistoryReport::defaultLastDay(today), last);
}

void TestReportWindows::historyReportListsTheRangeInBothFiles()
{
    DeskFixture f;
    addJournal(f, QStringLiteral("2026-11-30"), QStringLiteral("Раньше"), QStringLiteral("Пила"), QStringLiteral("P1"));
    addJournal(f, QStringLiteral("2026-12-01"), QStringLiteral("Первый"), QStringLiteral("Дрель"),
               QStringLiteral("D1"));
    addJournal(f, QStringLiteral("2026-12-05"), QStringLiteral("Второй [x]"), QStringLiteral("Ключ"),
               QStringLiteral("K2"));
    addJournal(f, QStringLiteral("2026-12-06"), QStringLiteral("Позже"), QStringLiteral("Молоток"),
               QStringLiteral("M3"));
    f.control<QDateEdit>("TfmReport", "DateTimePicker1")->setDate(QDate(2026, 12, 1));
    f.control<QDateEdit>("TfmReport", "DateTimePicker2")->setDate(QDate(2026, 12, 5));
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("history.pdf"));
    const QString rtf = out.filePath(QStringLiteral("history.rtf"));
    // The first preview of this test program: Qt's print support comes with it.
    QVERIFY2(!libraryMapped("libQt6PrintSupport"), "print support is loaded before any preview");
    runHistory(f, pdf, rtf);
    QVERIFY(libraryMapped("libQt6PrintSupport"));
    QCOMPARE(f.fakes().shell.opened, QStringList{rtf}); // the RTF only

    const QStringList expected = {"Отчет от",
                                  "10.12.2026",
                                  "История выдачи инструмента",
                                  "Дата",
                                  "Статус",
                                  "Получатель",
                                  "Тип инструмента",
                                  "Модель",
                                  "Организация",
                                  "Комментарий",
                                  "1",
                                  "01.12.2026",
                                  "Выдан",
                                  "Первый",
                                  "Дрель",
                                  "D1",
                                  "Цех 1",
                                  "заметка",
                                  "2",
                                  "05.12.2026",
                                  "Второй [x]",
                                  "Ключ",
                                  "K2"};
    for (const QString& text : {consumers::pdfText(pdf), rtfText(rtf)}) {
        QCOMPARE(consumers::missingInOrder(text, expected), QString());
        QVERIFY(!text.contains(QStringLiteral("Раньше")));
        QVERIFY(!text.contains(QStringLiteral("Позже")));
    }
}

void TestReportWindows::previewNamesTheReportAndProposesReportsFolder_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("range"); // %1 and %2: the pickers' texts
    QTest::addColumn<QStringList>("filters");
    QTest::newRow("russian") << "RU"
                             << "История выдачи инструмента"
                             << "История выдачи инструмента с %1 по %2"
                             << QStringList{"Документы PDF (*.pdf)", "Документы RTF (*.rtf)"};
    QTest::newRow("english") << "EN"
                             << "Tool Issue History"
                             << "Tool Issue History from %1 to %2"
                             << QStringList{"PDF documents (*.pdf)", "RTF documents (*.rtf)"};
}

void TestReportWindows::previewNamesTheReportAndProposesReportsFolder()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(QString, range);
    QFETCH(QStringList, filters);
    DeskFixture f;
    f.session().setLanguage(language);
    f.control<QDateEdit>("TfmReport", "DateTimePicker1")->setDate(QDate(2026, 12, 1));
    f.control<QDateEdit>("TfmReport", "DateTimePicker2")->setDate(QDate(2026, 12, 5));
    const QString from = f.control<QDateEdit>("TfmReport", "DateTimePicker1")->text();
    const QString to = f.control<QDateEdit>("TfmReport", "DateTimePicker2")->text();
    QString title;
    f.fakes().dialogs.modalScripts.push_back([&title](QDialog& window) {
        title = window.windowTitle();
        ReportPreview* preview = ReportPreview::of(window);
        QVERIFY(preview);
        QVERIFY(!preview->saveAsPdf()); // cancelled: nothing written, no folder left behind
        QVERIFY(!preview->exportToRtf());
    });
    f.control<QPushButton>("TfmReport", "Button1")->click();
    QCOMPARE(title, range.arg(from, to));
    // The fake clock reads 10 December 2026, 09:30:15.
    const QString stem = f.data().folder() + QStringLiteral("Reports/") + name + QStringLiteral(" 10.12.2026_09-30-15");
    const QString saveTitle = language == u"RU" ? QStringLiteral("Сохранить отчет") : QStringLiteral("Save the report");
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("save")),
             (QStringList{saveTitle + u'|' + stem + QStringLiteral(".pdf"), saveTitle + u'|' + stem + ".rtf"}));
    QCOMPARE(f.fakes().dialogs.saveFilters, filters);
    QVERIFY(!QFileInfo::exists(f.data().folder() + QStringLiteral("Reports")));
}

void TestReportWindows::timeSwitchChangesTheStoredLanguagesTemplateOnly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("changedField");
    QTest::addColumn<QString>("changedHeading");
    QTest::addColumn<QString>("otherField");
    QTest::addColumn<QString>("otherHeading");
    // The other template keeps its design: RU prints IType, EN prints ATime under "Tool".
    QTest::newRow("RU on") << "RU" << true << "ATime"
                           << "Время"
                           << "ATime"
                           << "Tool";
    QTest::newRow("RU off") << "RU" << false << "IType"
                            << "Тип инструмента"
                            << "ATime"
                            << "Tool";
    QTest::newRow("EN on") << "EN" << true << "ATime"
                           << "Time"
                           << "IType"
                           << "Тип инструмента";
    QTest::newRow("EN off") << "EN" << false << "IType"
                            << "Tool"
                            << "IType"
                            << "Тип инструмента";
}

void TestReportWindows::timeSwitchChangesTheStoredLanguagesTemplateOnly()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    QFETCH(QString, changedField);
    QFETCH(QString, changedHeading);
    QFETCH(QString, otherField);
    QFETCH(QString, otherHeading);
    DeskFixture f;
    f.session().settings().setLanguage(stored);
    f.session().settings().setShowTime(!on);
    f.session().settings().setShowTime(on);
    HistoryReport& history = f.window<TfmReport>("TfmReport").history();
    const bool russian = stored == u"RU";
    TfrxReport& changed = history.report(russian);
    TfrxReport& other = history.report(!russian);
    QCOMPARE(changed.FindObject(QStringLiteral("frxDBDataset1IType"))->dataField(), changedField);
    QCOMPARE(changed.FindObject(QStringLiteral("Memo9"))->text().source(), changedHeading);
    QCOMPARE(changed.FindObject(QStringLiteral("frxDBDataset1IType"))->displayFormat().formatStr,
             on ? QStringLiteral("hh:mm:ss") : QString());
    QCOMPARE(other.FindObject(QStringLiteral("frxDBDataset1IType"))->dataField(), otherField);
    QCOMPARE(other.FindObject(QStringLiteral("Memo9"))->text().source(), otherHeading);
}

void TestReportWindows::timeSwitchIsAppliedAgainWhenTheMainWindowFirstShows()
{
    DeskFixture f;
    f.session().settings().setShowTime(true); // applied to the Russian template
    f.session().settings().setLanguage(QStringLiteral("EN"));
    TfrxReport& english = f.window<TfmReport>("TfmReport").history().report(false);
    QCOMPARE(english.FindObject(QStringLiteral("Memo9"))->text().source(), QStringLiteral("Tool"));
    f.window<QWidget>("TfmMain").show();
    QCOMPARE(english.FindObject(QStringLiteral("Memo9"))->text().source(), QStringLiteral("Time"));
    QCOMPARE(english.FindObject(QStringLiteral("frxDBDataset1IType"))->dataField(), QStringLiteral("ATime"));
}

void TestReportWindows::writtenReportNoProgramOpensSaysWhere_data()
{
    QTest::addColumn<QString>("report");
    QTest::newRow("inventory") << "inventory";
    QTest::newRow("statement") << "statement";
    QTest::newRow("history as RTF") << "rtf";
}

void TestReportWindows::writtenReportNoProgramOpensSaysWhere()
{
    QFETCH(QString, report);
    DeskFixture f;
    addRegister(f);
    f.fakes().shell.succeeds = false; // no desktop: neither the file nor its folder opens
    f.fakes().dialogs.offerAnswers = {true};
    QTemporaryDir out;
    QString file;
    if (report == u"inventory") {
        f.control<QPushButton>("TfmTools", "btInvent")->click();
        file = f.data().folder() + QStringLiteral("Reports/Inventory/Inventory_10.12.2026_09-30-15.rtf");
    } else if (report == u"statement") {
        f.session().qUsers.reopen();
        QVERIFY(f.session().qUsers.locate(QStringLiteral("ID_User"), QStringLiteral("U100")));
        f.fakes().dialogs.modalScripts.push_back(
            [](QDialog& card) { DeskFixture::find<QPushButton>(card, "Button1")->click(); });
        f.app().openRecipientCard();
        file = ReportFileName::onHand(f.data().folder(), kHolder, f.fakes().clock.current);
    } else {
        file = out.filePath(QStringLiteral("history.rtf"));
        f.fakes().dialogs.saveFileAnswers = {file};
        f.fakes().dialogs.modalScripts.push_back(
            [](QDialog& window) { QVERIFY(ReportPreview::of(window)->exportToRtf()); });
        f.control<QPushButton>("TfmReport", "Button1")->click();
    }
    QVERIFY2(QFile::exists(file), qPrintable(file));
    QCOMPARE(f.fakes().shell.opened, (QStringList{file, QFileInfo(file).absolutePath()}));
    const QStringList offers = f.fakes().dialogs.texts(QStringLiteral("offer"));
    QCOMPARE(offers.size(), 1);
    QVERIFY2(offers.first().startsWith(QStringLiteral("Файл записан, но открыть его нечем"))
                 && offers.first().contains(QDir::toNativeSeparators(file)),
             qPrintable(offers.first()));
    const QStringList messages = f.fakes().dialogs.texts(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().contains(QDir::toNativeSeparators(file)));
}

void TestReportWindows::inventoryNamesHoldersOutsideTheRecipientSearch()
{
    DeskFixture f;
    addRegister(f);
    f.addRecipient(QStringLiteral("U200"), QStringLiteral("Другой"));
    // The recipient list shows someone else: the holder is still named.
    f.session().qUsers.setStatement(Select(QStringLiteral("Users")).where(QStringLiteral("ID_User='U200'")));
    f.session().qUsers.open();
    f.db().exec(QStringLiteral("UPDATE Tools SET Passed=%1, OwnerID='999' WHERE ID_Tool='T101'") // nobody's key
                    .arg(f.db().dialect().sqlFalse()));

    f.control<QPushButton>("TfmTools", "btInvent")->click();
    const QString file = f.data().folder() + QStringLiteral("Reports/Inventory/Inventory_10.12.2026_09-30-15.rtf");
    QVERIFY2(QFile::exists(file), qPrintable(file));
    QCOMPARE(f.fakes().shell.opened, QStringList{file});
    const QString text = rtfText(file);
    QCOMPARE(consumers::missingInOrder(text,
                                       {"Инвентаризация инструмента",
                                        "Инструмент на складе:",
                                        "Тип инструмента",
                                        "Производитель",
                                        "Модель",
                                        "Инвентарный",
                                        "Серийный №",
                                        "Состояние",
                                        "Отметка",
                                        "Дрель",
                                        "Bosch",
                                        "GSB 13",
                                        "Инструмент на руках:",
                                        "На руках",
                                        "Анкер",
                                        "Hilti",
                                        "TE 30",
                                        kHolder,
                                        "Ключ",
                                        "Makita",
                                        "K2"}),
             QString());
}

void TestReportWindows::inventoryAsksBeforeReplacingAFileOfTheSameSecond()
{
    DeskFixture f;
    auto* button = f.control<QPushButton>("TfmTools", "btInvent");
    button->click();
    const QString file = f.data().folder() + QStringLiteral("Reports/Inventory/Inventory_10.12.2026_09-30-15.rtf");
    QFile stamp(file);
    QVERIFY(stamp.open(QIODevice::Append));
    stamp.write("kept");
    stamp.close();
    const qint64 size = QFileInfo(file).size();
    f.fakes().dialogs.shown.clear();
    button->click(); // the same second; the question is answered Cancel
    QCOMPARE(f.fakes().dialogs.shown.size(), 1);
    QCOMPARE(f.fakes().dialogs.shown.first().kind, QStringLiteral("confirm"));
    QCOMPARE(QFileInfo(file).size(), size);
    QCOMPARE(f.fakes().shell.opened.size(), 1);
}

namespace {

// The worker's card opened from the list and its statement exported, with
// nothing but the card shown on the way.
void exportStatementOf(DeskFixture& f, const QString& code)
{
    Query& users = f.session().qUsers;
    users.reopen();
    QVERIFY(users.locate(QStringLiteral("ID_User"), code));
    f.fakes().dialogs.modalScripts.push_back(
        [](QDialog& card) { DeskFixture::find<QPushButton>(card, "Button1")->click(); });
    f.app().openRecipientCard();
    for (const auto& shown : f.fakes().dialogs.shown) {
        if (shown.kind != u"modal")
            QFAIL(qPrintable(shown.kind + u' ' + shown.text));
    }
}

} // namespace

void TestReportWindows::statementPrintsTheNameAsTypedUnderASafeFileName()
{
    DeskFixture f;
    addRegister(f);
    exportStatementOf(f, QStringLiteral("U100"));
    if (QTest::currentTestFailed())
        return;
    const QString file = f.data().folder() + QStringLiteral("Reports/Иванов [И.И.]_цех 10.12.2026_09-30-15.rtf");
    QCOMPARE(f.fakes().shell.opened, QStringList{file});
    const QString text = rtfText(file);
    QCOMPARE(consumers::missingInOrder(text,
                                       {"Ведомость полученного инструмента",
                                        "Сотрудник:",
                                        kHolder,
                                        "Карта получателя №:",
                                        "U100",
                                        "Организация:",
                                        "Цех 7",
                                        "Общее количество:",
                                        "1",
                                        "шт.",
                                        "Общая стоимость:",
                                        "Список инструмента",
                                        "№ п/п",
                                        "Тип",
                                        "Производитель",
                                        "Модель",
                                        "Инвентарный",
                                        "Стоимость",
                                        "Получен",
                                        "Анкер",
                                        "Hilti",
                                        "TE 30",
                                        "10.12.2026",
                                        "Кладовщик"}),
             QString());
}

void TestReportWindows::statementOfANameLongerThanAFileName()
{
    // 300 Cyrillic letters are 600 bytes of UTF-8, more than a file name may hold.
    const QString name = QStringLiteral("Константинопольский ").repeated(15);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U300"), name, QStringLiteral("Цех 7"));
    f.addTool(QStringLiteral("T300"), QStringLiteral("Анкер"), QStringLiteral("Hilti"), QStringLiteral("TE 30"));
    f.scan(QStringLiteral("U300"));
    f.scan(QStringLiteral("T300"));
    exportStatementOf(f, QStringLiteral("U300"));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    const QFileInfo file(f.fakes().shell.opened.constFirst());
    QVERIFY(file.exists());
    QCOMPARE(file.absolutePath(), QDir(f.data().folder() + QStringLiteral("Reports")).absolutePath());
    QVERIFY(file.fileName().toUtf8().size() <= 255);
    QVERIFY(file.fileName().endsWith(QStringLiteral(" 10.12.2026_09-30-15.rtf")));
    QVERIFY(name.startsWith(file.fileName().section(u' ', 0, -2))); // as much of the name as fits
    // The statement itself prints the whole name.
    QVERIFY(rtfText(file.filePath()).contains(name.trimmed()));
}

void TestReportWindows::statementPdfHoldsWhatItsRtfHolds()
{
    // Values as a script may store them: line breaks, tabs, emoji.
    const QString name = QStringLiteral("Иванов\nИван\tПетрович 😀");
    const QString organization = QStringLiteral("Цех\t7 🔧");
    const QString model = QStringLiteral("GSB 13 👍");
    const QString inventory = QStringLiteral("ИНВ\n77");
    DeskFixture f;
    f.addRecipient(QStringLiteral("U500"), name, organization);
    f.addTool(QStringLiteral("T500"), QStringLiteral("Дрель"), QStringLiteral("Bosch"), model);
    f.db().exec("UPDATE Tools SET Inv=? WHERE ID_Tool='T500'", {inventory});
    f.scan(QStringLiteral("U500"));
    f.scan(QStringLiteral("T500"));
    Query& users = f.session().qUsers;
    users.reopen();
    QVERIFY(users.locate(QStringLiteral("ID_User"), QStringLiteral("U500")));
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    f.fakes().dialogs.modalScripts.push_back(
        [](QDialog& window) { DeskFixture::find<QPushButton>(window, "Button1")->click(); });
    f.app().openRecipientCard();
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    const QString rtf = oneSpaced(rtfText(f.fakes().shell.opened.constFirst()));

    // The same statement as a PDF, as the preview and the command line write it.
    OnHandStatement statement;
    OnHandStatement::Holder holder{name, organization, QStringLiteral("U500"), 1, QStringLiteral("0")};
    TfrxReport& report = statement.prepare(true, holder, card.q2, card.q);
    const QString pdfFile = f.data().folder() + QStringLiteral("statement.pdf");
    ReportPdfWriter::write(*report.prepared(), pdfFile);
    const QString pdf = oneSpaced(consumers::pdfText(pdfFile));
    for (const QString& value : {name, organization, model, inventory}) {
        QVERIFY2(rtf.contains(oneSpaced(value)), qPrintable(value + QStringLiteral(" in ") + rtf));
        QVERIFY2(pdf.contains(oneSpaced(value)), qPrintable(value + QStringLiteral(" in ") + pdf));
    }
}

void TestReportWindows::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << "Иванов [И.И.] 10.12.2026_09-30-15"
                           << "Иванов [И.И.] 10.12.2026_09-30-15";
    QTest::newRow("separators") << "a/b\\c"
                                << "a_b_c";
    QTest::newRow("reserved") << "a<b>c:d\"e|f?g*h"
                              << "a_b_c_d_e_f_g_h";
    QTest::newRow("control") << QStringLiteral("a\tb\nc") << "a_b_c";
    QTest::newRow("climbing") << "../.."
                              << ".._";
    QTest::newRow("trailing dots") << "name. ."
                                   << "name";
    QTest::newRow("empty") << ""
                           << "_";
}

void TestReportWindows::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(ReportFileName::safe(name), safe);
}

void TestReportWindows::longNameCutToFit_data()
{
    // Room for the name part: the whole file name less " <stamp>.rtf".
    const int room = ReportFileName::kLongestName - static_cast<int>(qstrlen(" 10.12.2026_09-30-15.rtf"));
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("namePart");
    QTest::newRow("short") << "Иванов И.И."
                           << "Иванов И.И.";
    QTest::newRow("just fits") << QString(room, u'a') << QString(room, u'a');
    QTest::newRow("one byte over") << QString(room + 1, u'a') << QString(room, u'a');
    QTest::newRow("two-byte letters") << QString(300, u'Щ') << QString(room / 2, u'Щ');
    QTest::newRow("a four-byte character at the cut")
        << QString(room - 2, u'a') + QStringLiteral("😀b") << QString(room - 2, u'a');
    QTest::newRow("a letter and its accent at the cut")
        << QString(room - 3, u'a') + QStringLiteral("и\u0306b") << QString(room - 3, u'a');
    QTest::newRow("blanks at the cut") << QString(room - 2, u'a') + QStringLiteral("  bbb") << QString(room - 2, u'a');
    QTest::newRow("characters a file name cannot hold")
        << QStringLiteral("a/b").repeated(room) << QStringLiteral("a_b").repeated(room).left(room);
}

void TestReportWindows::longNameCutToFit()
{
    QFETCH(QString, holder);
    QFETCH(QString, namePart);
    const QString file = ReportFileName::onHand(QStringLiteral("/program/"), holder,
                                                QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));
    QCOMPARE(file, QStringLiteral("/program/Reports/") + namePart + QStringLiteral(" 10.12.2026_09-30-15.rtf"));
    QVERIFY(QFileInfo(file).fileName().toUtf8().size() <= ReportFileName::kLongestName);
}

void TestReportWindows::unwrittenReportLeavesTheEarlierFile_data()
{
    QTest::addColumn<QString>("report"); // inventory, statement, or the history preview's pdf or rtf
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause"); // FOLDER: the program folder
    const QString full = QStringLiteral(
        "Диск заполнен. Освободите место на диске или выберите другой диск и повторите.");
    const QString notFile = QStringLiteral("Это не обычный файл (устройство, канал или папка): ");
    QTest::newRow("inventory, full disk") << "inventory"
                                          << "full" << full;
    QTest::newRow("inventory, Reports is a file")
        << "inventory"
        << "blocked"
        << "На месте папки находится файл: FOLDERReports. Переименуйте или уберите этот файл либо выберите другую "
           "папку.";
    QTest::newRow("inventory, a FIFO of its name") << "inventory"
                                                   << "fifo" << notFile;
    QTest::newRow("statement, full disk") << "statement"
                                          << "full" << full;
    QTest::newRow("history as PDF, full disk") << "pdf"
                                               << "full" << full;
    QTest::newRow("history as RTF, a FIFO of its name") << "rtf"
                                                        << "fifo" << notFile;
}

void TestReportWindows::unwrittenReportLeavesTheEarlierFile()
{
    QFETCH(QString, report);
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    DeskFixture f;
    addRegister(f);
    addJournal(f, QStringLiteral("2026-12-10"), QStringLiteral("Первый"), QStringLiteral("Дрель"),
               QStringLiteral("D1"));
    // Its issue date is set: the statement writes nothing into the database.
    f.db().exec("UPDATE Tools SET Issued_date='2026-12-10' WHERE ID_Tool='T102'");
    const QString folder = f.data().folder();
    const QDateTime now = f.fakes().clock.current;
    QString file;
    if (report == u"inventory")
        file = ReportFileName::inventory(folder, now);
    else if (report == u"statement")
        file = ReportFileName::onHand(folder, kHolder, now);
    else
        file = folder + QStringLiteral("history.") + report;
    cause.replace(QStringLiteral("FOLDER"), folder);
    if (fault == u"blocked") {
        QFile blocking(folder + QStringLiteral("Reports"));
        QVERIFY(blocking.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    }
    if (fault == u"full") {
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("yesterday's report");
        f.fakes().dialogs.confirmAnswers = {true}; // replace it
    } else if (fault == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        cause += QDir::toNativeSeparators(file) + u'.';
    }
    const QString where = QFileInfo(file).absolutePath();
    const QStringList before = QDir(where).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    f.fakes().dialogs.saveFileAnswers = {file};
    std::optional<dbfixture::FileSizeLimit> full;
    if (fault == u"full")
        full.emplace(512);
    if (report == u"inventory") {
        f.control<QPushButton>("TfmTools", "btInvent")->click();
    } else if (report == u"statement") {
        f.session().qUsers.reopen();
        QVERIFY(f.session().qUsers.locate(QStringLiteral("ID_User"), QStringLiteral("U100")));
        f.fakes().dialogs.modalScripts.push_back(
            [](QDialog& card) { DeskFixture::find<QPushButton>(card, "Button1")->click(); });
        f.app().openRecipientCard();
    } else {
        f.fakes().dialogs.modalScripts.push_back([report](QDialog& window) {
            ReportPreview* preview = ReportPreview::of(window);
            QVERIFY(preview);
            QVERIFY(!(report == u"pdf" ? preview->saveAsPdf() : preview->exportToRtf()));
        });
        f.control<QDateEdit>("TfmReport", "DateTimePicker1")->setDate(QDate(2026, 12, 1));
        f.control<QPushButton>("TfmReport", "Button1")->click();
    }
    full.reset();

    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    const QString expected = QStringLiteral("Отчет НЕ записан: ") + QDir::toNativeSeparators(file) + u'\n' + cause;
    QVERIFY2(errors.first().startsWith(expected), qPrintable(errors.first() + u'\n' + expected));
    QVERIFY(f.fakes().shell.opened.isEmpty());
    QCOMPARE(QDir(where).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    struct stat st {
    };
    const QString left = fault == u"blocked" ? folder + QStringLiteral("Reports") : file;
    QVERIFY(::lstat(QFile::encodeName(left).constData(), &st) == 0);
    QCOMPARE(S_ISFIFO(st.st_mode), fault == u"fifo");
    if (fault == u"full")
        QCOMPARE(dbfixture::Untouched::read(file), QByteArray("yesterday's report"));
    if (fault == u"blocked")
        QVERIFY(S_ISREG(st.st_mode));
}

QTEST_MAIN(TestReportWindows)
#include "tst_report_windows.moc"
