// The tool list page: search, order, count, sort and its saved form, the
// row colours, and the add, edit, delete and card entries.
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/QueryModel.h"
#include "recipients/TfmCard_U.h"
#include "recipients/TfmUsers.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmEditor_T.h"
#include "tools/TfmTools.h"
#include "widgets/DbEdit.h"
#include "widgets/DbGrid.h"
#include "writeoff/TfmWriteOff.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class TestToolList : public QObject
{
    Q_OBJECT
private slots:
    void searchTexts_data();
    void searchTexts();
    void enterSearchesOnItsOwnKeyEvent_data();
    void enterSearchesOnItsOwnKeyEvent();
    void issuedToolsFirst();
    void workTypes();
    void countLabel();
    void countMadeAgainOnlyAfterAChange();
    void titleSortAndItsSetting();
    void savedSortReapplied_data();
    void savedSortReapplied();
    void savedSortKeptByChangesElsewhere_data();
    void savedSortKeptByChangesElsewhere();
    void rowColours();
    void rowBeingAddedNotIssued();
    void columnsAsTheSettingsShow();
    void addThroughEditor();
    void editKeepsTheToolCurrent();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void emptyListDoesNothing();
    void operatorCannotEditOrDelete();
    void cardOpensOnDoubleClick();

private:
    static QStringList listed(DeskFixture& f);
    static void openList(DeskFixture& f) { f.app().showToolList(); }
    static void returnFromRecipientCard(DeskFixture& f, const QString& recipient, const QString& tool);
    static void writeOff(DeskFixture& f, const QString& tool);
};

QStringList TestToolList::listed(DeskFixture& f)
{
    Query& tools = f.session().qTools;
    while (tools.canFetchMore())
        tools.fetchMore();
    QStringList codes;
    for (int row = 0; row < tools.fetchedCount(); ++row)
        codes << tools.value(row, tools.fieldIndex("ID_Tool")).toString();
    return codes;
}

void TestToolList::searchTexts_data()
{
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all but written off") << ""
                                         << "" << QStringList{"A%1", "AB1", "A_1", "Q'1", "NT"};
    QTest::newRow("id anywhere, any case") << "b1"
                                           << "" << QStringList{"AB1"};
    QTest::newRow("percent is a character") << "%"
                                            << "" << QStringList{"A%1"};
    QTest::newRow("underscore is a character") << "_"
                                               << "" << QStringList{"A_1"};
    QTest::newRow("quote") << "'"
                           << "" << QStringList{"Q'1"};
    QTest::newRow("type narrows, untyped stay") << ""
                                                << "дрел" << QStringList{"A%1", "AB1", "NT"};
    QTest::newRow("statement text in the box") << "') OR 1=1 --"
                                               << "" << QStringList{};
}

void TestToolList::searchTexts()
{
    QFETCH(QString, idText);
    QFETCH(QString, typeText);
    QFETCH(QStringList, expected);
    DeskFixture f;
    f.addTool("A%1", "Дрель");
    f.addTool("AB1", "ДРЕЛЬ ударная");
    f.addTool("A_1", "Пила");
    f.addTool("Q'1", "Пила");
    f.addTool("NT");
    f.db().exec("UPDATE Tools SET Tool_Type=NULL WHERE ID_Tool='NT'");
    f.addTool("OFF", "Дрель");
    f.markWrittenOff(QStringLiteral("OFF"));
    openList(f);
    f.control<QLineEdit>("TfmTools", "Edit1")->setText(idText);
    f.control<QLineEdit>("TfmTools", "Edit2")->setText(typeText);
    QTest::keyClick(f.control<QLineEdit>("TfmTools", "Edit1"), Qt::Key_Return);
    QStringList got = listed(f);
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
}

// The tool list searches as Enter goes down, the recipient list as it comes
// up; the other half of the key stroke leaves the list as it is.
void TestToolList::enterSearchesOnItsOwnKeyEvent_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("press"); // else a release
    QTest::addColumn<bool>("searches");
    QTest::newRow("tool list, press") << "TfmTools" << true << true;
    QTest::newRow("tool list, release") << "TfmTools" << false << false;
    QTest::newRow("recipient list, press") << "TfmUsers" << true << false;
    QTest::newRow("recipient list, release") << "TfmUsers" << false << true;
}

void TestToolList::enterSearchesOnItsOwnKeyEvent()
{
    QFETCH(QString, page);
    QFETCH(bool, press);
    QFETCH(bool, searches);
    DeskFixture f;
    for (const char* code : {"T1", "T2"})
        f.addTool(code);
    for (const char* code : {"U1", "U2"})
        f.addRecipient(code);
    if (page == u"TfmTools") {
        openList(f);
    } else {
        f.app().showRecipientList();
        f.control<QPushButton>("TfmUsers", "btSearch")->click();
    }
    const QByteArray window = page.toLatin1();
    QueryModel* rows = f.control<DbGrid>(window.constData(), "DBGrid1")->queryModel();
    QCOMPARE(rows->rowCount(), 2);
    auto* code = f.control<QLineEdit>(window.constData(), "Edit1");
    code->setText(QStringLiteral("2"));
    if (press)
        QTest::keyPress(code, Qt::Key_Return);
    else
        QTest::keyRelease(code, Qt::Key_Return);
    QCOMPARE(rows->rowCount(), searches ? 1 : 2);
}

void TestToolList::issuedToolsFirst()
{
    DeskFixture f;
    f.addRecipient("U1");
    for (const char* t : {"T1", "T2", "T3", "T4"})
        f.addTool(t);
    f.scan("U1");
    f.scan("T3");
    openList(f);
    QCOMPARE(listed(f).first(), QStringLiteral("T3"));
    QCOMPARE(listed(f).size(), 4);
}

void TestToolList::workTypes()
{
    DeskFixture f;
    for (const char* t : {"T1", "T'2", "T3"})
        f.addTool(t);
    f.db().exec("INSERT INTO WORKTYPES (AField, AField_2) VALUES ('Монтаж', ?)", {QStringLiteral("'T1','T''2'")});
    f.db().exec("INSERT INTO WORKTYPES (AField, AField_2) VALUES ('Пусто', '')");
    openList(f);
    TfmTools& list = f.window<TfmTools>("TfmTools");
    QComboBox* workTypes = f.control<QComboBox>("TfmTools", "cbWorkTypes");
    QCOMPARE(workTypes->count(), 3); // two work types and the empty item
    QCOMPARE(workTypes->currentIndex(), -1);

    workTypes->setCurrentIndex(0);
    list.cbWorkTypesChange();
    QCOMPARE(listed(f).size(), 3); // choosing does not search
    list.btSearchClick();
    QStringList got = listed(f);
    got.sort();
    QCOMPARE(got, (QStringList{"T'2", "T1"}));

    workTypes->setCurrentIndex(1);
    list.cbWorkTypesChange();
    list.btSearchClick();
    QVERIFY(listed(f).isEmpty());

    workTypes->setCurrentIndex(2); // the empty item: no work type
    list.cbWorkTypesChange();
    list.btSearchClick();
    QCOMPARE(listed(f).size(), 3);

    openList(f); // bringing the list up clears the choice
    QCOMPARE(workTypes->currentIndex(), -1);
}

void TestToolList::countLabel()
{
    DeskFixture f;
    for (const char* t : {"T1", "T2", "X3"})
        f.addTool(t);
    f.markWrittenOff(QStringLiteral("T2"));
    openList(f);
    TfmTools& list = f.window<TfmTools>("TfmTools");
    QLabel* count = f.control<QLabel>("TfmTools", "lbRecordCount");
    QCOMPARE(count->text(), QStringLiteral("общее количество: 3"));
    f.control<QLineEdit>("TfmTools", "Edit1")->setText("t");
    f.control<QLineEdit>("TfmTools", "Edit2")->setText("nothing of that type");
    list.btSearchClick();
    QCOMPARE(count->text(), QStringLiteral("общее количество: 3")); // a search keeps it
    list.ShowTableRecordCount();
    QCOMPARE(count->text(), QStringLiteral("общее количество: 2")); // written off counted, type ignored
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    QCOMPARE(count->text(), QStringLiteral("total count: 2"));
    f.control<QCheckBox>("TfmSettings", "cbShowRecordCount")->setChecked(false);
    QVERIFY(!count->isVisibleTo(&list));
}

void TestToolList::countMadeAgainOnlyAfterAChange()
{
    // A count of a large register costs more than the page: it is made again
    // when a change was told or the code box changed, not at every showing.
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    openList(f);
    QLabel* count = f.control<QLabel>("TfmTools", "lbRecordCount");
    const auto countAfterShowing = [&] {
        f.app().showRecipientList();
        openList(f);
        return count->text();
    };
    QCOMPARE(count->text(), QStringLiteral("общее количество: 2"));
    f.addTool("T3"); // written behind the page's back: no one told it
    QCOMPARE(countAfterShowing(), QStringLiteral("общее количество: 2"));
    f.app().notifyOtherDesksChanged();
    QCOMPARE(countAfterShowing(), QStringLiteral("общее количество: 3"));
    f.addTool("T4");
    f.app().notifyToolsChanged();
    QCOMPARE(countAfterShowing(), QStringLiteral("общее количество: 4"));
    f.control<QLineEdit>("TfmTools", "Edit1")->setText("T4");
    QCOMPARE(countAfterShowing(), QStringLiteral("общее количество: 1"));
}

void TestToolList::titleSortAndItsSetting()
{
    DeskFixture f;
    f.addTool("B", "Пила");
    f.addTool("a", "Дрель");
    f.addTool("C", "Ящик");
    openList(f);
    TfmTools& list = f.window<TfmTools>("TfmTools");
    auto saved = [&] { return IniFile(f.data().iniPath()).read("MAIN", "SortTools").value_or("<absent>"); };
    list.DBGrid1TitleClick(0);
    QCOMPARE(listed(f), (QStringList{"a", "B", "C"}));
    QCOMPARE(saved(), QStringLiteral("ID_Tool ASC"));
    list.DBGrid1TitleClick(0);
    QCOMPARE(listed(f), (QStringList{"C", "B", "a"}));
    QCOMPARE(saved(), QStringLiteral("ID_Tool DESC"));
    list.DBGrid1TitleClick(0);
    QCOMPARE(saved(), QStringLiteral("ID_Tool ASC"));
    list.DBGrid1TitleClick(1);
    QCOMPARE(saved(), QStringLiteral("Tool_Type ASC"));
    QCOMPARE(listed(f), (QStringList{"a", "B", "C"}));
    QTest::mouseClick(f.control<QPushButton>("TfmTools", "btSearch"), Qt::LeftButton);
    QCOMPARE(saved(), QString());
    QCOMPARE(f.session().qTools.sort(), QString());
}

void TestToolList::savedSortReapplied_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("sort");
    QTest::newRow("a sort") << "Model DESC"
                            << "Model DESC";
    QTest::newRow("absent reads 0: no sort") << QString() << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("not a column") << "Nope ASC"
                                  << "";
    QTest::newRow("statement text") << "ID; DROP TABLE Tools ASC"
                                    << "";
}

void TestToolList::savedSortReapplied()
{
    QFETCH(QString, stored);
    QFETCH(QString, sort);
    DeskFixture f;
    f.addTool("T1");
    if (!stored.isNull())
        f.session().settings().setSortTools(stored);
    openList(f);
    QCOMPARE(f.session().qTools.sort(), sort);
    QCOMPARE(listed(f), QStringList{"T1"});
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
}

void TestToolList::returnFromRecipientCard(DeskFixture& f, const QString& recipient, const QString& tool)
{
    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
    QVERIFY(f.session().qUsers.locate("ID_User", recipient));
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.fakes().dialogs.modalScripts.push_back([&card, tool](QDialog&) {
        DeskFixture::find<QTabWidget>(card, "PageControl1")->setCurrentIndex(1);
        QVERIFY(card.q2.locate("ID_Tool", tool));
        DeskFixture::find<QPushButton>(card, "btReturn_Tool")->click();
    });
    f.window<TfmUsers>("TfmUsers").DBGrid1DblClick();
}

void TestToolList::writeOff(DeskFixture& f, const QString& tool)
{
    auto& page = f.window<TfmWriteOff>("TfmWriteOff");
    page.pageShown();
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.control<QPushButton>("TfmWriteOff", "btNewAKT")->click();
    QVERIFY(page.qTools_notWriteOff.locate("ID_Tool", tool));
    f.control<QPushButton>("TfmWriteOff", "btADDtoAKT")->click();
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.control<QPushButton>("TfmWriteOff", "btWriteOff")->click();
}

void TestToolList::savedSortKeptByChangesElsewhere_data()
{
    QTest::addColumn<bool>("byWriteOff");
    QTest::addColumn<QStringList>("listedAfter");
    QTest::newRow("return from the recipient card") << false << QStringList{"a", "B", "C"};
    QTest::newRow("write-off") << true << QStringList{"a", "C"};
}

void TestToolList::savedSortKeptByChangesElsewhere()
{
    QFETCH(bool, byWriteOff);
    QFETCH(QStringList, listedAfter);
    DeskFixture f({}, [](FakePlatform& fakes, const TestData& data) {
        QDir().mkpath(data.data("Templates"));
        for (const char* name : {"AKT_RU.docx", "AKT_EN.docx"})
            QFile::copy(TestData::deliveredData() + "/Templates/" + name, data.data("Templates/") + name);
        DeskFixture::scriptSignIn(fakes.dialogs, DeskFixture::SignIn::Administrator);
    });
    f.addRecipient("U1");
    f.addTool("B");
    f.addTool("a");
    f.addTool("C");
    f.scan("U1");
    f.scan("a");
    openList(f);
    f.window<TfmTools>("TfmTools").DBGrid1TitleClick(0);
    const QString ini = f.data().iniPath();
    QCOMPARE(IniFile(ini).read("MAIN", "SortTools").value_or("<absent>"), QStringLiteral("ID_Tool ASC"));

    if (byWriteOff)
        writeOff(f, "B");
    else
        returnFromRecipientCard(f, "U1", "a");

    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
    QCOMPARE(IniFile(ini).read("MAIN", "SortTools").value_or("<absent>"), QStringLiteral("ID_Tool ASC"));
    // The list read the change and kept showing its sort.
    QCOMPARE(f.session().qTools.sort(), QStringLiteral("ID_Tool ASC"));
    QCOMPARE(listed(f), listedAfter);
}

void TestToolList::rowColours()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("IN");
    f.addTool("OUT");
    f.scan("U1");
    f.scan("OUT");
    openList(f);
    const QueryModel* model = f.control<DbGrid>("TfmTools", "DBGrid1")->queryModel();
    QCOMPARE(listed(f), (QStringList{"OUT", "IN"}));
    QCOMPARE(model->data(model->index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(255, 161, 127));
    QCOMPARE(model->data(model->index(0, 0), QueryModel::SelectedBackgroundRole).value<QColor>(), QColor(249, 132, 89));
    QCOMPARE(model->data(model->index(1, 3), Qt::BackgroundRole).value<QColor>(), QColor(179, 244, 144));
    QCOMPARE(model->data(model->index(1, 3), QueryModel::SelectedBackgroundRole).value<QColor>(), QColor(147, 249, 92));
}

void TestToolList::rowBeingAddedNotIssued()
{
    // The editor's unsaved row has no stored state: it is no issued tool.
    DeskFixture f;
    f.addTool("IN");
    f.addTool("IN2");
    openList(f);
    QVERIFY(f.session().qTools.locate("ID_Tool", "IN"));
    const QueryModel* model = f.control<DbGrid>("TfmTools", "DBGrid1")->queryModel();
    QVariant background;
    QVariant selected;
    f.fakes().dialogs.modalScripts.push_back([&](QDialog&) {
        const int row = f.session().qTools.recNo();
        QCOMPARE(f.session().qTools.state(), Query::State::Insert);
        background = model->data(model->index(row, 0), Qt::BackgroundRole);
        selected = model->data(model->index(row, 0), QueryModel::SelectedBackgroundRole);
    });
    f.control<QPushButton>("TfmTools", "Button1")->click();
    QVERIFY2(!background.isValid(), qPrintable(background.value<QColor>().name()));
    QVERIFY(!selected.isValid());
}

void TestToolList::columnsAsTheSettingsShow()
{
    DeskFixture f;
    f.addTool("T1");
    Settings& settings = f.session().settings();
    for (int n = 1; n <= Settings::ToolColumnCount; ++n)
        settings.setToolColumnVisible(n, n % 3 != 0);
    openList(f);
    const DbGrid* grid = f.control<DbGrid>("TfmTools", "DBGrid1");
    QVERIFY(!grid->isColumnHidden(0)); // the code always shows
    for (int n = 1; n <= Settings::ToolColumnCount; ++n)
        QCOMPARE(grid->isColumnHidden(n), n % 3 == 0);
}

void TestToolList::addThroughEditor()
{
    DeskFixture f;
    f.fakes().clock.current = QDateTime(QDate(2026, 5, 6), QTime(10, 0));
    openList(f);
    f.fakes().dialogs.modalScripts.push_back([](QDialog& w) {
        auto& editor = static_cast<TfmEditor_T&>(w);
        QTest::keyClicks(DeskFixture::find<DbEdit>(editor, "DBEdit1"), "NEW-1");
        QTest::keyClicks(DeskFixture::find<DbEdit>(editor, "DBEdit3"), "Bosch");
        DeskFixture::find<QPushButton>(editor, "btOK")->click();
    });
    f.control<QPushButton>("TfmTools", "Button1")->click();
    QCOMPARE(f.toolValue("NEW-1", "Proizvoditel").toString(), QStringLiteral("Bosch"));
    QCOMPARE(f.toolValue("NEW-1", "Passed").toInt(), 1);
    QCOMPARE(f.toolValue("NEW-1", "ID_Tool_Unique").toString(), QStringLiteral("NEW-1"));
    QCOMPARE(f.toolValue("NEW-1", "Date_Purchase").toString(), QStringLiteral("2026-05-06"));
    QCOMPARE(f.toolValue("NEW-1", "WriteOff").toInt(), 0);
    QVERIFY(!f.toolValue("NEW-1", "Photo").toByteArray().isEmpty()); // the delivered default picture
    QCOMPARE(listed(f), QStringList{"NEW-1"});
}

void TestToolList::editKeepsTheToolCurrent()
{
    DeskFixture f;
    for (const char* t : {"T1", "T2", "T3"})
        f.addTool(t);
    openList(f);
    Query& tools = f.session().qTools;
    QVERIFY(tools.locate("ID_Tool", QStringLiteral("T2")));
    f.fakes().dialogs.modalScripts.push_back([](QDialog& w) {
        auto& editor = static_cast<TfmEditor_T&>(w);
        QCOMPARE(DeskFixture::find<DbEdit>(editor, "DBEdit1")->text(), QStringLiteral("T2"));
        auto* model = DeskFixture::find<DbEdit>(editor, "DBEdit4");
        model->clear();
        QTest::keyClicks(model, "GSB 18V");
        DeskFixture::find<QPushButton>(editor, "btOK")->click();
    });
    f.control<QPushButton>("TfmTools", "Button2")->click();
    QCOMPARE(f.toolValue("T2", "Model").toString(), QStringLiteral("GSB 18V"));
    QCOMPARE(tools.text("ID_Tool"), QStringLiteral("T2"));
}

void TestToolList::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestToolList::deleteAsksFirst()
{
    QFETCH(bool, answer);
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.scan("U1");
    f.scan("T1"); // an issued tool may be deleted; its journal stays
    openList(f);
    f.fakes().dialogs.confirmAnswers.push_back(answer);
    f.control<QPushButton>("TfmTools", "Button3")->click();
    QCOMPARE(f.fakes().dialogs.texts("confirm"), QStringList{QStringLiteral("Удалить выбранную запись?")});
    QCOMPARE(f.toolValue("T1", "ID").isValid(), !answer);
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.control<QLabel>("TfmTools", "lbRecordCount")->text(),
             QStringLiteral("общее количество: %1").arg(answer ? 0 : 1));
}

void TestToolList::emptyListDoesNothing()
{
    DeskFixture f;
    openList(f);
    f.control<QPushButton>("TfmTools", "Button2")->click();
    f.control<QPushButton>("TfmTools", "Button3")->click();
    f.window<TfmTools>("TfmTools").DBGrid1DblClick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestToolList::operatorCannotEditOrDelete()
{
    DeskFixture f(QString(), DeskFixture::SignIn::Operator);
    QVERIFY(!f.control<QPushButton>("TfmTools", "Button2")->isEnabled());
    QVERIFY(!f.control<QPushButton>("TfmTools", "Button3")->isEnabled());
    QVERIFY(f.control<QPushButton>("TfmTools", "Button1")->isEnabled());
    DeskFixture admin;
    QVERIFY(admin.control<QPushButton>("TfmTools", "Button2")->isEnabled());
    QVERIFY(admin.control<QPushButton>("TfmTools", "Button3")->isEnabled());
    // The list follows a change of the access mode while it runs.
    f.session().setAccessMode(Session::AccessMode::Administrator);
    QVERIFY(f.control<QPushButton>("TfmTools", "Button2")->isEnabled());
    QVERIFY(f.control<QPushButton>("TfmTools", "Button3")->isEnabled());
    admin.session().setAccessMode(Session::AccessMode::Operator);
    QVERIFY(!admin.control<QPushButton>("TfmTools", "Button2")->isEnabled());
    QVERIFY(!admin.control<QPushButton>("TfmTools", "Button3")->isEnabled());
}

void TestToolList::cardOpensOnDoubleClick()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.scan("U1");
    f.scan("T2");
    openList(f);
    Query& tools = f.session().qTools;
    struct Seen {
        QString id, code;
        bool returnEnabled = false, handEnabled = false;
    } seen;
    auto look = [&seen](QDialog& w) {
        auto& card = static_cast<TfmCard_T&>(w);
        seen = {card.ID, card.ID_ForHend, DeskFixture::find<QPushButton>(card, "btReturn")->isEnabled(),
                DeskFixture::find<QPushButton>(card, "btHend")->isEnabled()};
    };
    QVERIFY(tools.locate("ID_Tool", QStringLiteral("T2")));
    f.fakes().dialogs.modalScripts.push_back(look);
    f.window<TfmTools>("TfmTools").DBGrid1DblClick();
    QCOMPARE(seen.id, QStringLiteral("T2"));
    QVERIFY(seen.returnEnabled);
    QVERIFY(!seen.handEnabled);
    QCOMPARE(tools.text("ID_Tool"), QStringLiteral("T2")); // the same tool current again

    QVERIFY(tools.locate("ID_Tool", QStringLiteral("T1")));
    f.fakes().dialogs.modalScripts.push_back(look);
    f.window<TfmTools>("TfmTools").DBGrid1DblClick();
    QVERIFY(!seen.returnEnabled);
    QVERIFY(seen.handEnabled); // in store, administrator
}

QTEST_MAIN(TestToolList)
#include "tst_toollist.moc"
