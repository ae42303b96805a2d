// The recipient register page as the storekeeper uses it: search by code
// and name, the count, title sorts, deleting (refused while tools are out),
// the access mode, empty lists, and both text sets of the three windows.
#include "core/DeskSelection.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "recipients/TfmCard_U.h"
#include "recipients/TfmEditor_U.h"
#include "recipients/TfmUsers.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

// Every code the shared recipient result holds, in its order.
QStringList listed(DeskFixture& f)
{
    Query& users = f.session().qUsers;
    QStringList codes;
    for (int row = 0; users.setRecNo(row); ++row)
        codes << users.text(QStringLiteral("ID_User"));
    return codes;
}

// The page brought up and searched with the texts as they stand: the
// register as stored now.
void showList(DeskFixture& f)
{
    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
}

void search(DeskFixture& f, const QString& idText, const QString& nameText)
{
    f.control<QLineEdit>("TfmUsers", "Edit1")->setText(idText);
    f.control<QLineEdit>("TfmUsers", "Edit2")->setText(nameText);
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
}

QString countLabel(DeskFixture& f)
{
    return f.control<QLabel>("TfmUsers", "lbRecordCount")->text();
}

// A modal script that only notes that a window was shown.
void noteShown(DeskFixture& f, QString& shown)
{
    f.fakes().dialogs.modalScripts.push_back([&shown](QDialog& w) { shown = w.objectName(); });
}

const QString kShowCount = QStringLiteral("[MAIN]\nShowRecordCount=1\nLenguage=%1\n");

} // namespace

class TestUserList : public QObject
{
    Q_OBJECT
private slots:
    void searchNarrows_data();
    void searchNarrows();
    void enterInEitherBoxSearches();
    void countIgnoresNameAndWaitsForShow_data();
    void countIgnoresNameAndWaitsForShow();
    void countLabelFollowsSetting();
    void countMadeAgainOnlyAfterAChange();
    void titleClicksSort();
    void deleteAsksAndKeepsJournal_data();
    void deleteAsksAndKeepsJournal();
    void deleteRefusedWhileToolsAreOut();
    void deleteEmptiesDeskOfThatRecipient();
    void emptyListDoesNothing();
    void buttonsFollowAccessMode_data();
    void buttonsFollowAccessMode();
    void doubleClickOpensCard();
    void textsOfBothLanguages_data();
    void textsOfBothLanguages();
};

void TestUserList::searchNarrows_data()
{
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QString>("nameText");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"U1", "U2", "u3", "A%1", "AB1", "N1"};
    QTest::newRow("empty texts list everyone") << ""
                                               << "" << all;
    QTest::newRow("Cyrillic name typed in capitals") << ""
                                                     << "ИВАН" << QStringList{"U1", "U2", "N1"};
    QTest::newRow("Cyrillic name typed in small letters") << ""
                                                          << "петр" << QStringList{"u3", "N1"};
    QTest::newRow("code in other letter case") << "u"
                                               << "" << QStringList{"U1", "U2", "u3"};
    QTest::newRow("percent taken literally") << "%"
                                             << "" << QStringList{"A%1"};
    QTest::newRow("underscore taken literally") << ""
                                                << "_" << QStringList{"A%1", "N1"};
    QTest::newRow("both texts together") << "U"
                                         << "мари" << QStringList{"U2"};
    QTest::newRow("quote finds nothing, no error") << "'"
                                                   << "" << QStringList{};
    QTest::newRow("blanks are part of the text") << " U1"
                                                 << "" << QStringList{};
}

void TestUserList::searchNarrows()
{
    QFETCH(QString, idText);
    QFETCH(QString, nameText);
    QFETCH(QStringList, expected);
    DeskFixture f;
    f.addRecipient("U1", "Иванов Иван");
    f.addRecipient("U2", "иванова мария");
    f.addRecipient("u3", "ПЕТРОВ");
    f.addRecipient("A%1", "Сидоров_С");
    f.addRecipient("AB1", "СидоровXС");
    f.db().exec("INSERT INTO Users (ID_User) VALUES ('N1')"); // no name at all
    showList(f);
    search(f, idText, nameText);
    QCOMPARE(listed(f), expected);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestUserList::enterInEitherBoxSearches()
{
    DeskFixture f;
    f.addRecipient("U1", "Иванов");
    f.addRecipient("U2", "Петров");
    showList(f);
    auto* name = f.control<QLineEdit>("TfmUsers", "Edit2");
    name->setText("петров");
    QCOMPARE(listed(f).size(), 2); // typing alone does not search
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(listed(f), QStringList{"U2"});
    name->clear();
    auto* code = f.control<QLineEdit>("TfmUsers", "Edit1");
    QTest::keyClicks(code, "1");
    QTest::keyClick(code, Qt::Key_Enter);
    QCOMPARE(listed(f), QStringList{"U1"});
}

void TestUserList::countIgnoresNameAndWaitsForShow_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("Russian") << "RU"
                             << "общее количество: ";
    QTest::newRow("English") << "EN"
                             << "total count: ";
}

void TestUserList::countIgnoresNameAndWaitsForShow()
{
    QFETCH(QString, language);
    QFETCH(QString, prefix);
    DeskFixture f(kShowCount.arg(language));
    f.addRecipient("U1", "Иванов");
    f.addRecipient("U2", "Петров");
    f.addRecipient("X3", "Сидоров");
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), prefix + "3");
    search(f, "U", "Петров");
    QCOMPARE(listed(f), QStringList{"U2"});
    QCOMPARE(countLabel(f), prefix + "3"); // a search leaves the count
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), prefix + "2"); // the code narrows it, the name does not
}

void TestUserList::countMadeAgainOnlyAfterAChange()
{
    DeskFixture f(kShowCount.arg(QStringLiteral("RU")));
    f.addRecipient("U1");
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), QStringLiteral("общее количество: 1"));
    f.addRecipient("U2"); // written behind the page's back
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), QStringLiteral("общее количество: 1"));
    f.app().notifyOtherDesksChanged();
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), QStringLiteral("общее количество: 2"));
    f.addRecipient("U3");
    f.app().notifyRecipientsChanged();
    f.app().showRecipientList();
    QCOMPARE(countLabel(f), QStringLiteral("общее количество: 3"));
}

void TestUserList::countLabelFollowsSetting()
{
    DeskFixture f;
    auto* label = f.control<QLabel>("TfmUsers", "lbRecordCount");
    QVERIFY(!label->isHidden()); // the delivered settings show it
    f.session().settings().setShowRecordCount(false);
    QVERIFY(label->isHidden());
    f.session().settings().setShowRecordCount(true);
    QVERIFY(!label->isHidden());
}

void TestUserList::titleClicksSort()
{
    DeskFixture f;
    f.addRecipient("B", "Борисов", "Цех 2");
    f.addRecipient("A", "Яковлев", "Цех 1");
    f.addRecipient("C", "Андреев", "Цех 3");
    showList(f);
    auto* grid = f.control<DbGrid>("TfmUsers", "DBGrid1");
    auto& users = f.window<TfmUsers>("TfmUsers");
    users.DBGrid1TitleClick(0);
    QCOMPARE(listed(f), (QStringList{"A", "B", "C"}));
    users.DBGrid1TitleClick(0);
    QCOMPARE(listed(f), (QStringList{"C", "B", "A"}));
    users.DBGrid1TitleClick(0);
    QCOMPARE(listed(f), (QStringList{"A", "B", "C"}));
    emit grid->titleClicked(1); // another column starts ascending, by name
    QCOMPARE(listed(f), (QStringList{"C", "B", "A"}));
    QCOMPARE(f.session().qUsers.sort(), QStringLiteral("FIO ASC"));
    search(f, "", "");
    QCOMPARE(f.session().qUsers.sort(), QString());
    QCOMPARE(listed(f), (QStringList{"B", "A", "C"})); // the store's order again
}

void TestUserList::deleteAsksAndKeepsJournal_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK deletes") << true;
    QTest::newRow("Cancel keeps") << false;
}

void TestUserList::deleteAsksAndKeepsJournal()
{
    QFETCH(bool, answer);
    DeskFixture f;
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.addTool("T1");
    f.scan("U2");
    f.scan("T1");
    f.scan("U2");
    f.scan("T1"); // issued and back: nothing out
    showList(f);
    QVERIFY(f.session().qUsers.locate("ID_User", "U2"));
    QSignalSpy changed(&f.app(), &Navigator::recipientsChanged);
    f.fakes().dialogs.confirmAnswers.push_back(answer);
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    QCOMPARE(f.fakes().dialogs.texts("confirm"), QStringList{"Удалить выбранную запись?"});
    QCOMPARE(listed(f), answer ? QStringList{"U1"} : (QStringList{"U1", "U2"}));
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM Users").toInt(), answer ? 1 : 2);
    QCOMPARE(countLabel(f), answer ? "общее количество: 1" : "общее количество: 2");
    QCOMPARE(changed.size(), answer ? 1 : 0);
    QCOMPARE(f.journalCount(), 2); // the journal keeps its rows
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
}

void TestUserList::deleteRefusedWhileToolsAreOut()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.addTool("T3");
    for (const char* tool : {"T1", "T2", "T3"}) {
        f.scan("U1");
        f.scan(tool);
    }
    f.scan("U1");
    f.scan("T3"); // back in the store
    showList(f);
    QVERIFY(f.session().qUsers.locate("ID_User", "U1"));
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    QCOMPARE(f.fakes().dialogs.texts("message"),
             QStringList{"Получатель не может быть удален: у него на руках инструмент (2 шт.)"});
    QVERIFY(f.fakes().dialogs.texts("confirm").isEmpty()); // not asked in vain
    QCOMPARE(listed(f), QStringList{"U1"});

    // Everything back: now it goes.
    f.fakes().dialogs.clear();
    f.scan("U1");
    f.scan("T1");
    f.scan("U1");
    f.scan("T2");
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    QCOMPARE(f.fakes().dialogs.texts("confirm").size(), 1);
    QCOMPARE(listed(f), QStringList{});
}

void TestUserList::deleteEmptiesDeskOfThatRecipient()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.addTool("T1");
    f.scan("U2"); // shown on the desk, nothing issued
    QVERIFY(f.desk().recipientSelected());
    showList(f);
    QVERIFY(f.session().qUsers.locate("ID_User", "U1"));
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    QVERIFY(f.desk().recipientSelected()); // another recipient's removal leaves it
    QVERIFY(f.session().qUsers.locate("ID_User", "U2"));
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    QVERIFY(!f.desk().recipientSelected());
    f.scan("T1"); // no issue to a recipient who is gone
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
}

void TestUserList::emptyListDoesNothing()
{
    DeskFixture f;
    f.addRecipient("U1");
    showList(f);
    search(f, "nobody", "");
    QCOMPARE(listed(f), QStringList{});
    QString shown;
    noteShown(f, shown);
    f.fakes().dialogs.confirmAnswers.push_back(true);
    auto& users = f.window<TfmUsers>("TfmUsers");
    f.control<QPushButton>("TfmUsers", "Button2")->click();
    f.control<QPushButton>("TfmUsers", "Button3")->click();
    users.DBGrid1DblClick();
    QCOMPARE(shown, QString());
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QCOMPARE(f.session().qUsers.state(), Query::State::Browse);
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM Users").toInt(), 1);
}

void TestUserList::buttonsFollowAccessMode_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::newRow("administrator") << true;
    QTest::newRow("operator") << false;
}

void TestUserList::buttonsFollowAccessMode()
{
    QFETCH(bool, administrator);
    DeskFixture f(QString(), administrator ? DeskFixture::SignIn::Administrator : DeskFixture::SignIn::Operator);
    QVERIFY(!f.main().findChild<QPushButton*>("SpeedButton5")->isHidden()); // the entry shows for both roles
    QVERIFY(f.control<QPushButton>("TfmUsers", "Button1")->isEnabled());
    QCOMPARE(f.control<QPushButton>("TfmUsers", "Button2")->isEnabled(), administrator);
    QCOMPARE(f.control<QPushButton>("TfmUsers", "Button3")->isEnabled(), administrator);
    // The entry brings the page up.
    f.main().findChild<QPushButton*>("SpeedButton5")->click();
    QVERIFY(!f.window<TfmUsers>("TfmUsers").isHidden());
}

void TestUserList::doubleClickOpensCard()
{
    DeskFixture f;
    f.addRecipient("U1", "Иванов");
    f.addRecipient("U2", "Петров");
    showList(f);
    QVERIFY(f.session().qUsers.locate("ID_User", "U2"));
    QString shownName;
    f.fakes().dialogs.modalScripts.push_back(
        [&](QDialog& w) { shownName = DeskFixture::find<QLabel>(w, "DBText2")->text(); });
    f.window<TfmUsers>("TfmUsers").DBGrid1DblClick();
    QCOMPARE(shownName, QStringLiteral("Петров"));
}

void TestUserList::textsOfBothLanguages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected"); // list title 0, Button2, editor title, card title, tab 2, label 8
    QTest::newRow("Russian") << "RU" << QStringList{"ID получателя",
                                                    "Изменить",
                                                    "Редактор записей (пользователь)",
                                                    "Карточка получателя",
                                                    "Инструмент на руках",
                                                    "Инструмента на сумму"};
    QTest::newRow("English") << "EN" << QStringList{"ID user",   "Edit",           "Record Editor (user)",
                                                    "User card", "Tools on hands", "Price"};
}

void TestUserList::textsOfBothLanguages()
{
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    auto* grid = f.control<DbGrid>("TfmUsers", "DBGrid1");
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    const QStringList shown{grid->queryModel()->headerData(0, Qt::Horizontal).toString(),
                            f.control<QPushButton>("TfmUsers", "Button2")->text(),
                            f.window<TfmEditor_U>("TfmEditor_U").windowTitle(),
                            card.windowTitle(),
                            DeskFixture::find<QTabWidget>(card, "PageControl1")->tabText(1),
                            DeskFixture::find<QLabel>(card, "Label8")->text()};
    QCOMPARE(shown, expected);
    QCOMPARE(f.main().findChild<QPushButton*>("SpeedButton5")->text(), language == "RU" ? "Получатели" : "Users");
}

QTEST_MAIN(TestUserList)
#include "tst_userlist.moc"
