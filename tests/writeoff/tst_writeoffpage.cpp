// The write-off page: the candidates' search, acts and adding tools to them,
// the write-off itself and the act's document, read back from the file.
#include "DocxFiles.h"
#include "core/DeskSelection.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbFixture.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"
#include "writeoff/TfmWriteOff.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <optional>

namespace {

// A whole program signed in as the administrator, with the delivered act templates.
class WriteOffFixture : public DeskFixture
{
public:
    explicit WriteOffFixture(SignIn signIn = SignIn::Administrator)
        : DeskFixture({}, [signIn](FakePlatform& fakes, const TestData& data) {
            QDir().mkpath(data.data("Templates"));
            for (const char* name : {"AKT_RU.docx", "AKT_EN.docx"})
                QFile::copy(TestData::deliveredData() + "/Templates/" + name, data.data("Templates/") + name);
            scriptSignIn(fakes.dialogs, signIn);
        })
    {
    }

    TfmWriteOff& page() const { return window<TfmWriteOff>("TfmWriteOff"); }
    void press(const char* button) { control<QAbstractButton>("TfmWriteOff", button)->click(); }
    QString document(int act) const { return data().folder() + QStringLiteral("WriteOff/\u2116_%1_.docx").arg(act); }

    qint64 addPricedTool(const QString& code, const QString& name, double price, const QString& inventory)
    {
        const qint64 key = addTool(code);
        db().exec("UPDATE Tools SET Naim=?, Price=?, Inv=? WHERE ID=?", {name, price, inventory, key});
        return key;
    }
    // Confirms a new act; returns its number.
    qint64 newAct()
    {
        fakes().dialogs.confirmAnswers.push_back(true);
        press("btNewAKT");
        return db().scalar("SELECT MAX(ID) FROM AKTSpisaniya").toLongLong();
    }
    void search() { press("btSearch"); }
    // Makes the candidate with this code current and adds it to the current
    // act; false, with nothing pressed, when no candidate has the code.
    [[nodiscard]] bool addToAct(const QString& code)
    {
        if (!page().qTools_notWriteOff.locate("ID_Tool", code))
            return false;
        press("btADDtoAKT");
        return true;
    }
    void writeOff()
    {
        fakes().dialogs.confirmAnswers.push_back(true);
        press("btWriteOff");
    }
    QStringList candidates() const { return codes(page().qTools_notWriteOff); }
    static QStringList codes(Query& q)
    {
        while (q.canFetchMore())
            q.fetchMore();
        QStringList list;
        for (int row = 0; row < q.fetchedCount(); ++row)
            list << q.value(row, q.fieldIndex("ID_Tool")).toString();
        return list;
    }
};

} // namespace

class TestWriteOffPage : public QObject
{
    Q_OBJECT
private slots:
    void entryIsTheAdministrators();
    void search_data();
    void search();
    void columnsFollowTheSettings();
    void newActAsksFirst();
    void newActGoesLast();
    void documentButtonsHaveTheirOwnNames();
    void documentNoProgramOpens_data();
    void documentNoProgramOpens();
    void addRefusals();
    void toolMovesBetweenActs();
    void writeOffAndItsDocument();
    void writeOffTwice();
    void toolOnHandStopsTheWriteOff();
    void writtenOffToolLeavesTheDesk();
    void brokenTemplate();
    void documentNotMadeActStaysWrittenOff_data();
    void documentNotMadeActStaysWrittenOff();
    void writeOffRefusedByTheDatabase_data();
    void writeOffRefusedByTheDatabase();
};

void TestWriteOffPage::entryIsTheAdministrators()
{
    {
        WriteOffFixture f(DeskFixture::SignIn::Operator);
        auto* entry = DeskFixture::find<QPushButton>(*f.main().findChild<QWidget*>("Panel1"), "btWriteOff");
        QVERIFY(entry->isHidden());
    }
    WriteOffFixture f;
    auto* entry = DeskFixture::find<QPushButton>(*f.main().findChild<QWidget*>("Panel1"), "btWriteOff");
    QVERIFY(!entry->isHidden());
    f.addTool("T1");
    entry->click();
    QVERIFY(f.page().isVisibleTo(&f.main()));
    QCOMPARE(f.candidates(), QStringList{"T1"}); // searched when brought up
    // Without an act the act buttons have nothing to work on.
    for (const char* name : {"btADDtoAKT", "btWriteOff", "btWordExport", "btDocument"})
        QVERIFY(!f.control<QAbstractButton>("TfmWriteOff", name)->isEnabled());
}

void TestWriteOffPage::search_data()
{
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<int>("workType"); // item of cbWorkTypes, -1 none
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all but written off, store order") << ""
                                                      << "" << -1 << QStringList{"T1", "T2", "NT", "OUT"};
    QTest::newRow("code") << "t"
                          << "" << -1 << QStringList{"T1", "T2", "NT", "OUT"};
    QTest::newRow("type, untyped stay") << ""
                                        << "пил" << -1 << QStringList{"T2", "NT"};
    QTest::newRow("work type") << ""
                               << "" << 0 << QStringList{"T1", "T2"};
    QTest::newRow("work type and code") << "2"
                                        << "" << 0 << QStringList{"T2"};
    QTest::newRow("work type without tools") << ""
                                             << "" << 1 << QStringList{};
    QTest::newRow("blank item: no work type") << ""
                                              << "" << 2 << QStringList{"T1", "T2", "NT", "OUT"};
    QTest::newRow("quote") << "'"
                           << "" << -1 << QStringList{};
}

void TestWriteOffPage::search()
{
    QFETCH(QString, idText);
    QFETCH(QString, typeText);
    QFETCH(int, workType);
    QFETCH(QStringList, expected);
    WriteOffFixture f;
    f.addRecipient("U1");
    f.addTool("T1", "Дрель");
    f.addTool("T2", "Пила");
    f.addTool("NT");
    f.db().exec("UPDATE Tools SET Tool_Type=NULL WHERE ID_Tool='NT'");
    f.addTool("OUT", "Дрель");
    f.addTool("OFF", "Дрель");
    f.markWrittenOff(QStringLiteral("OFF"));
    f.db().exec("INSERT INTO WORKTYPES (AField, AField_2) VALUES ('Монтаж', ?)", {QStringLiteral("'T1','T2','OFF'")});
    f.db().exec("INSERT INTO WORKTYPES (AField, AField_2) VALUES ('Пусто', '')");
    f.scan("U1");
    f.scan("OUT"); // issued tools are candidates too
    f.page().pageShown();
    f.control<QLineEdit>("TfmWriteOff", "Edit1")->setText(idText);
    f.control<QLineEdit>("TfmWriteOff", "Edit2")->setText(typeText);
    auto* choice = f.control<QComboBox>("TfmWriteOff", "cbWorkTypes");
    QCOMPARE(choice->count(), 3);
    choice->setCurrentIndex(workType);
    f.page().cbWorkTypesChange();
    f.search();
    QCOMPARE(f.candidates(), expected);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestWriteOffPage::columnsFollowTheSettings()
{
    WriteOffFixture f;
    f.page().pageShown();
    auto* grid = f.control<DbGrid>("TfmWriteOff", "Grid_Tools");
    Settings& settings = f.session().settings();
    for (int n = 1; n <= Settings::ToolColumnCount; ++n)
        QCOMPARE(grid->isColumnHidden(n), !settings.toolColumnVisible(n));
    settings.setToolColumnVisible(3, !settings.toolColumnVisible(3));
    QCOMPARE(grid->isColumnHidden(3), !settings.toolColumnVisible(3));
    QVERIFY(!grid->isColumnHidden(0));
}

void TestWriteOffPage::newActAsksFirst()
{
    WriteOffFixture f;
    f.page().pageShown();
    f.fakes().dialogs.confirmAnswers = {false};
    f.press("btNewAKT");
    QCOMPARE(f.fakes().dialogs.texts("confirm"), QStringList{"Создать новый АКТ списания инструмента?"});
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM AKTSpisaniya").toInt(), 0);
    const qint64 first = f.newAct();
    const qint64 second = f.newAct();
    QCOMPARE(second, first + 1);
    QCOMPARE(f.db().scalar("SELECT AName FROM AKTSpisaniya WHERE ID=?", {second}).toString(), QStringLiteral("АКТ"));
    QVERIFY(f.db().scalar("SELECT ADate FROM AKTSpisaniya WHERE ID=?", {second}).isNull());
    QCOMPARE(f.page().qAKT.integer("ID"), second); // the new act is current
    for (const char* name : {"btADDtoAKT", "btWriteOff", "btWordExport", "btDocument"})
        QVERIFY(f.control<QAbstractButton>("TfmWriteOff", name)->isEnabled());
}

void TestWriteOffPage::newActGoesLast()
{
    WriteOffFixture f;
    f.main().show();
    DeskFixture::find<QPushButton>(*f.main().findChild<QWidget*>("Panel1"), "btWriteOff")->click();
    const qint64 first = f.newAct();
    f.newAct();
    f.newAct();
    QVERIFY(f.page().qAKT.locate("ID", first)); // the top act selected
    const qint64 newest = f.newAct();
    auto* grid = f.control<DbGrid>("TfmWriteOff", "Grid_AKT");
    QVERIFY(grid->modelBound());
    QStringList shown;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        shown << grid->model()->index(row, 0).data().toString();
    QCOMPARE(shown,
             (QStringList{QString::number(first), QString::number(first + 1), QString::number(first + 2),
                          QString::number(newest)}));
    QCOMPARE(f.page().qAKT.integer("ID"), newest);
    QCOMPARE(grid->currentIndex().row(), 3);
    QVERIFY(WriteOffFixture::codes(f.page().qAKT_Container).isEmpty());
}

void TestWriteOffPage::documentButtonsHaveTheirOwnNames()
{
    WriteOffFixture f;
    auto* open = f.control<QAbstractButton>("TfmWriteOff", "btWordExport");
    auto* remake = f.control<QAbstractButton>("TfmWriteOff", "btDocument");
    QCOMPARE(open->accessibleName(), QStringLiteral("Открыть документ АКТ-а"));
    QCOMPARE(remake->accessibleName(), QStringLiteral("Сформировать документ АКТ-а заново"));
    f.session().setLanguage("EN");
    QCOMPARE(open->accessibleName(), QStringLiteral("Open the ACT document"));
    QCOMPARE(remake->accessibleName(), QStringLiteral("Make the ACT document anew"));
}

void TestWriteOffPage::documentNoProgramOpens_data()
{
    QTest::addColumn<bool>("wantFolder");
    QTest::addColumn<bool>("folderOpens");
    QTest::newRow("folder not wanted") << false << true;
    QTest::newRow("folder opened") << true << true;
    QTest::newRow("folder does not open either") << true << false;
}

void TestWriteOffPage::documentNoProgramOpens()
{
    QFETCH(bool, wantFolder);
    QFETCH(bool, folderOpens);
    WriteOffFixture f;
    f.addTool("T1");
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY(f.addToAct("T1"));
    const QString document = f.document(int(act));
    if (folderOpens)
        f.fakes().shell.unopened = {document};
    else
        f.fakes().shell.succeeds = false;
    f.fakes().dialogs.offerAnswers = {wantFolder};
    f.writeOff();
    QVERIFY(QFile::exists(document));
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
    const QStringList offers = f.fakes().dialogs.texts("offer");
    QCOMPARE(offers.size(), 1);
    QVERIFY2(offers.first().contains(QDir::toNativeSeparators(document)) && offers.first().endsWith("|Открыть папку"),
             qPrintable(offers.first()));
    QStringList expectedOpened{document};
    if (wantFolder)
        expectedOpened << QFileInfo(document).absolutePath();
    QCOMPARE(f.fakes().shell.opened, expectedOpened);
    // When the folder does not open either, the path is still named.
    const QStringList messages = f.fakes().dialogs.texts("message");
    QCOMPARE(messages.size(), wantFolder && !folderOpens ? 1 : 0);
    if (!messages.isEmpty())
        QVERIFY2(messages.first().contains(QDir::toNativeSeparators(document)), qPrintable(messages.first()));
}

void TestWriteOffPage::addRefusals()
{
    WriteOffFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("OUT");
    f.addTool("LATE");
    f.page().pageShown();
    // No act: nothing happens and nothing is said.
    QVERIFY(f.page().qTools_notWriteOff.locate("ID_Tool", "T1"));
    f.page().btADDtoAKTClick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY(f.toolValue("T1", "WriteOff_AKT_ID").isNull());

    const qint64 act = f.newAct();
    // Issued after the search: the refusal is decided on the tool as it is now.
    f.scan("U1");
    f.scan("OUT");
    QVERIFY2(f.addToAct("OUT"), "OUT");
    QCOMPARE(f.fakes().dialogs.texts("message"),
             QStringList{"Инструмент на руках и не может быть добавлен в АКТ списания!"});
    QVERIFY(f.toolValue("OUT", "WriteOff_AKT_ID").isNull());

    // Written off after the search, still listed until the next one.
    f.markWrittenOff(QStringLiteral("LATE"));
    f.fakes().dialogs.clear();
    QVERIFY2(f.addToAct("LATE"), "LATE");
    QCOMPARE(f.fakes().dialogs.texts("message"),
             QStringList{"Инструмент уже списан и не может быть добавлен в АКТ списания!"});
    QVERIFY(f.toolValue("LATE", "WriteOff_AKT_ID").isNull());

    QVERIFY2(f.addToAct("T1"), "T1");
    QCOMPARE(f.toolValue("T1", "WriteOff_AKT_ID").toLongLong(), act);
    QCOMPARE(WriteOffFixture::codes(f.page().qAKT_Container), QStringList{"T1"});
    QCOMPARE(f.candidates().count("T1"), 1); // it stays a candidate
}

void TestWriteOffPage::toolMovesBetweenActs()
{
    WriteOffFixture f;
    f.addTool("T1");
    f.addTool("T2");
    f.page().pageShown();
    const qint64 first = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    QVERIFY2(f.addToAct("T2"), "T2");
    const qint64 second = f.newAct();
    QVERIFY(WriteOffFixture::codes(f.page().qAKT_Container).isEmpty()); // the new act's tools
    QVERIFY2(f.addToAct("T1"), "T1");
    QCOMPARE(WriteOffFixture::codes(f.page().qAKT_Container), QStringList{"T1"});
    QVERIFY(f.page().qAKT.locate("ID", first));
    QCOMPARE(WriteOffFixture::codes(f.page().qAKT_Container), QStringList{"T2"});
    QVERIFY(f.page().qAKT.locate("ID", second));
    f.writeOff();
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 1);
    QCOMPARE(f.toolValue("T2", "WriteOff").toInt(), 0);
}

void TestWriteOffPage::writeOffAndItsDocument()
{
    WriteOffFixture f;
    f.addPricedTool("T1", "Молоток", 10.5, "ИНВ-1");
    f.addPricedTool("T2", "Пила", 20.5, "ИНВ-2");
    f.addTool("KEEP");
    f.app().showToolList();
    QCOMPARE(f.session().qTools.recordCount(), 3);
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    QVERIFY2(f.addToAct("T2"), "T2");

    // Nothing before the document exists.
    f.press("btWordExport");
    QCOMPARE(f.fakes().dialogs.texts("message"),
             QStringList{"АКТ не найден или не был сформирован. Выполните списание для формирования АКТ-а"});
    f.fakes().dialogs.clear();

    f.fakes().dialogs.confirmAnswers = {false};
    f.press("btWriteOff");
    QCOMPARE(f.fakes().dialogs.texts("confirm"),
             QStringList{QStringLiteral("Списать весь инструмент для АКТа №%1?").arg(act)});
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 0);

    f.writeOff();
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 1);
    QCOMPARE(f.toolValue("T2", "WriteOff").toInt(), 1);
    QCOMPARE(f.toolValue("KEEP", "WriteOff").toInt(), 0);
    QCOMPARE(f.page().qAKT.dateTime("ADate"), f.fakes().clock.current);
    QCOMPARE(f.fakes().shell.opened, QStringList{f.document(int(act))});

    // The document, read back from the file.
    const QMap<QString, QByteArray> parts = docx::readZip(f.document(int(act)));
    pugi::xml_document main;
    QVERIFY(docx::parse(parts.value("word/document.xml"), main));
    const QList<QStringList> rows = docx::tableTexts(main);
    QVERIFY(rows.size() >= 3);
    QCOMPARE(rows.at(1).mid(0, 5), (QStringList{"1", "Молоток", "1", "10,5", "ИНВ-1"}));
    QCOMPARE(rows.at(2).mid(0, 5), (QStringList{"2", "Пила", "1", "20,5", "ИНВ-2"}));
    QVERIFY(docx::paragraphTexts(main).join('\n').contains("30"));
    QVERIFY(!docx::paragraphTexts(main).join('\n').contains("#SUMM#"));
    QVERIFY(docx::paragraphTexts(main).contains(QStringLiteral("№ %1 от 10.12.2026").arg(act)));

    // Gone from the tool list at once, from the candidates at the next search.
    QCOMPARE(WriteOffFixture::codes(f.session().qTools), QStringList{"KEEP"});
    QCOMPARE(f.candidates().size(), 3);
    f.search();
    QCOMPARE(f.candidates(), QStringList{"KEEP"});

    f.fakes().shell.opened.clear();
    f.press("btWordExport");
    QCOMPARE(f.fakes().shell.opened, QStringList{f.document(int(act))});
}

void TestWriteOffPage::writeOffTwice()
{
    WriteOffFixture f;
    f.addPricedTool("T1", "Молоток", 1, "1");
    f.addPricedTool("T2", "Пила", 2, "2");
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    f.writeOff();
    // A tool added to a written-off act goes with its next write-off.
    QVERIFY2(f.addToAct("T2"), "T2");
    f.fakes().clock.current = f.fakes().clock.current.addDays(1);
    f.writeOff();
    QCOMPARE(f.toolValue("T2", "WriteOff").toInt(), 1);
    QCOMPARE(f.page().qAKT.dateTime("ADate"), f.fakes().clock.current);
    pugi::xml_document main;
    QVERIFY(docx::parse(docx::readZip(f.document(int(act))).value("word/document.xml"), main));
    QCOMPARE(docx::tableTexts(main).at(2).value(1), QStringLiteral("Пила"));
    QCOMPARE(QDir(f.data().folder() + "WriteOff").entryList(QDir::Files).size(), 1);
}

void TestWriteOffPage::toolOnHandStopsTheWriteOff()
{
    WriteOffFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    QVERIFY2(f.addToAct("T2"), "T2");
    f.scan("U1");
    f.scan("T2"); // issued after it joined the act
    f.writeOff();
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{"Инструмент АКТа на руках, списание не выполнено: T2"});
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 0);
    QCOMPARE(f.toolValue("T2", "WriteOff").toInt(), 0);
    QVERIFY(f.db().scalar("SELECT ADate FROM AKTSpisaniya WHERE ID=?", {act}).isNull());
    QVERIFY(!QFile::exists(f.document(int(act))));
    QVERIFY(f.fakes().shell.opened.isEmpty());
}

void TestWriteOffPage::writtenOffToolLeavesTheDesk()
{
    WriteOffFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.page().pageShown();
    f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    f.scan("T1"); // shown on the desk, no recipient yet
    QVERIFY(f.desk().toolSelected());
    f.writeOff();
    QVERIFY(!f.desk().toolSelected());
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
}

void TestWriteOffPage::brokenTemplate()
{
    WriteOffFixture f;
    f.addPricedTool("T1", "Молоток", 5, "И-1");
    const QString templatePath = f.data().data("Templates/AKT_RU.docx");
    const QString saved = templatePath + ".good";
    QVERIFY(QFile::rename(templatePath, saved));
    QFile broken(templatePath);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a zip archive");
    broken.close();

    f.page().pageShown();
    const qint64 act = f.newAct();
    // An act never written off has no document to make.
    f.press("btDocument");
    QCOMPARE(f.fakes().dialogs.texts("message"),
             QStringList{"АКТ не найден или не был сформирован. Выполните списание для формирования АКТ-а"});
    f.fakes().dialogs.clear();

    QVERIFY2(f.addToAct("T1"), "T1");
    f.writeOff();
    const QStringList errors = f.fakes().dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("АКТ №%1 списан, но его документ НЕ сформирован: %2\n"
                                                      "Шаблон АКТ-а списания не является документом Word (.docx): %3\n"
                                                      "Устраните причину и нажмите «Документ»")
                                           .arg(act)
                                           .arg(f.document(int(act)), templatePath)),
             qPrintable(errors.first()));
    // The write-off stays done.
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 1);
    QVERIFY(!f.db().scalar("SELECT ADate FROM AKTSpisaniya WHERE ID=?", {act}).isNull());
    QVERIFY(!QFile::exists(f.document(int(act))));
    QVERIFY(f.fakes().shell.opened.isEmpty());
    f.fakes().dialogs.clear();
    f.press("btWordExport");
    QCOMPARE(f.fakes().dialogs.texts("message").size(), 1);

    // Mended template: the document is made later.
    QVERIFY(QFile::remove(templatePath));
    QVERIFY(QFile::rename(saved, templatePath));
    f.fakes().dialogs.clear();
    f.press("btDocument");
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QCOMPARE(f.fakes().shell.opened, QStringList{f.document(int(act))});
    pugi::xml_document main;
    QVERIFY(docx::parse(docx::readZip(f.document(int(act))).value("word/document.xml"), main));
    QCOMPARE(docx::tableTexts(main).at(1).mid(0, 5), (QStringList{"1", "Молоток", "1", "5", "И-1"}));
}

void TestWriteOffPage::documentNotMadeActStaysWrittenOff_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause"); // FOLDER: the program folder
    QTest::newRow("WriteOff is a file")
        << "blocked"
        << "На месте папки находится файл: FOLDERWriteOff. Переименуйте или уберите этот файл либо выберите другую "
           "папку.";
    QTest::newRow("full disk when made again")
        << "full"
        << "Диск заполнен. Освободите место на диске или выберите другой диск и повторите.";
}

void TestWriteOffPage::documentNotMadeActStaysWrittenOff()
{
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    WriteOffFixture f;
    f.addPricedTool("T1", "Молоток", 5, "И-1");
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    const QString folder = f.data().folder();
    const QString writeOffFolder = folder + "WriteOff";
    cause.replace("FOLDER", folder);
    QByteArray earlier;
    if (fault == u"blocked") {
        QFile blocking(writeOffFolder);
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        blocking.write("kept");
        blocking.close();
        f.writeOff();
    } else {
        f.writeOff(); // the document is made
        earlier = dbfixture::Untouched::read(f.document(int(act)));
        f.fakes().dialogs.clear();
        f.fakes().shell.opened.clear();
        dbfixture::FileSizeLimit full(512);
        f.press("btDocument");
    }
    const QStringList errors = f.fakes().dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    const QString expected = QStringLiteral(
                                 "АКТ №%1 списан, но его документ НЕ сформирован: %2\n%3\n"
                                 "Устраните причину и нажмите «Документ», чтобы сформировать документ снова.")
                                 .arg(act)
                                 .arg(f.document(int(act)), cause);
    QVERIFY2(errors.first().startsWith(expected), qPrintable(errors.first() + '\n' + expected));
    QVERIFY(f.fakes().shell.opened.isEmpty());
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 1);
    QVERIFY(!f.db().scalar("SELECT ADate FROM AKTSpisaniya WHERE ID=?", {act}).isNull());
    if (fault == u"blocked") {
        QCOMPARE(dbfixture::Untouched::read(writeOffFolder), QByteArray("kept"));
    } else {
        QCOMPARE(dbfixture::Untouched::read(f.document(int(act))), earlier);
        QCOMPARE(QDir(writeOffFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(f.document(int(act))).fileName()});
    }
}

void TestWriteOffPage::writeOffRefusedByTheDatabase_data()
{
    QTest::addColumn<bool>("fullDisk"); // or a statement the database refuses
    QTest::newRow("full disk") << true;
    QTest::newRow("refused") << false;
}

void TestWriteOffPage::writeOffRefusedByTheDatabase()
{
    QFETCH(bool, fullDisk);
    WriteOffFixture f;
    if (fullDisk && f.server())
        QSKIP("the server's disk is not the desk's");
    f.addPricedTool("T1", "Молоток", 5, "И-1");
    f.page().pageShown();
    const qint64 act = f.newAct();
    QVERIFY2(f.addToAct("T1"), "T1");
    {
        std::optional<dbfixture::FileSizeLimit> full;
        if (fullDisk)
            full.emplace(1);
        else
            f.refuseWrites("AKTSpisaniya", "UPDATE");
        f.writeOff();
    }
    const QStringList errors = f.fakes().dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("АКТ №%1 НЕ списан, ничего не изменено.").arg(act)),
             qPrintable(errors.first()));
    if (fullDisk) {
        QVERIFY2(errors.first().contains("Диск заполнен.") && errors.first().contains(f.data().dbPath()),
                 qPrintable(errors.first()));
    }
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 0);
    QVERIFY(f.db().scalar("SELECT ADate FROM AKTSpisaniya WHERE ID=?", {act}).isNull());
    QVERIFY(!QFile::exists(f.document(int(act))));

    // Once the cause is gone the same act is written off.
    if (!fullDisk)
        f.acceptWrites("AKTSpisaniya", "UPDATE");
    f.fakes().dialogs.clear();
    f.writeOff();
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
    QCOMPARE(f.toolValue("T1", "WriteOff").toInt(), 1);
    QVERIFY(QFile::exists(f.document(int(act))));
}

QTEST_MAIN(TestWriteOffPage)
#include "tst_writeoffpage.moc"
