// The recipient card opened from the recipient list: the journal of the
// recipient, the tools on hand and their total, sorting, the operator's
// return of a tool on hand, and the issue dates read from the journal.
#include "core/DeskSelection.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "recipients/TfmCard_U.h"
#include "recipients/TfmUsers.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

// The card's opening work on the recipient made current in the shared
// recipient list, without showing it.
TfmCard_U& openCard(DeskFixture& f, const QString& code)
{
    Query& users = f.session().qUsers;
    users.reopen();
    if (!users.locate(QStringLiteral("ID_User"), code))
        qFatal("no recipient %s", qPrintable(code));
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    card.loadCurrentRecipient();
    card.FormShow();
    return card;
}

QStringList column(Query& q, const QString& field)
{
    QStringList values;
    for (int row = 0; q.setRecNo(row); ++row)
        values << q.text(field);
    return values;
}

QString total(const TfmCard_U& card)
{
    return DeskFixture::find<QLabel>(card, "lbSUM")->text();
}

void setPrice(DeskFixture& f, const QString& tool, const QVariant& price)
{
    f.db().exec("UPDATE Tools SET Price=? WHERE ID_Tool=?", {price, tool});
}

void issue(DeskFixture& f, const QString& recipient, const QString& tool)
{
    f.scan(recipient);
    f.scan(tool);
}

void addJournal(DeskFixture& f, const QString& user, const QString& tool, const QString& operation, const QString& date)
{
    f.db().exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, Note, FIO) "
                "VALUES (?, ?, ?, '10:11:12', ?, '', 'x')",
                {user, tool, date, operation});
}

// Groups and the sign are set apart by no-break spaces in Russian.
QString roubles(const char* text)
{
    return QString::fromUtf8(text).replace(u' ', QChar(0x00A0));
}

} // namespace

class TestUserCard : public QObject
{
    Q_OBJECT
private slots:
    void toolsOnHandAndTotal_data();
    void toolsOnHandAndTotal();
    void journalOfTheRecipientOnly();
    void journalNamesTheTool();
    void sortMarksPerField();
    void pageChangeOffersReturn();
    void operatorReturn_data();
    void operatorReturn();
    void returnNeedsConfirmationAndATool();
    void returnOfToolTakenBackElsewhere();
    void failedReturnWritesNothing();
    void lastIssuedDate_data();
    void lastIssuedDate();
    void issueDatesFilledOnce();
};

void TestUserCard::toolsOnHandAndTotal_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("none");
    QTest::newRow("Russian") << "RU" << roubles("1 734,50 ₽") << roubles("0,00 ₽");
    QTest::newRow("English") << "EN" << QStringLiteral("₽1,734.50") << QStringLiteral("₽0.00");
}

void TestUserCard::toolsOnHandAndTotal()
{
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QFETCH(QString, none);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.addTool("T1", "Перфоратор");
    f.addTool("T2", "Болгарка");
    f.addTool("T3", "Дрель");
    f.addTool("T4", "Дрель");
    f.addTool("T5", "Дрель");
    setPrice(f, "T1", 1500);
    setPrice(f, "T3", 234.5);
    setPrice(f, "T4", 99); // T2 has no price at all
    setPrice(f, "T5", 10);
    issue(f, "U1", "T1");
    issue(f, "U1", "T2");
    issue(f, "U1", "T3");
    issue(f, "U2", "T4"); // another holder's
    // Holder named but back in the store: not on hand.
    f.db().exec("UPDATE Tools SET OwnerID=(SELECT ID FROM Users WHERE ID_User='U1') WHERE ID_Tool='T5'");

    TfmCard_U& card = openCard(f, "U1");
    QCOMPARE(card.q2.recNo(), 0);                                          // the total leaves the first tool current
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"T2", "T3", "T1"})); // by type
    QCOMPARE(total(card), expected);

    f.addRecipient("U3");
    TfmCard_U& empty = openCard(f, "U3");
    QCOMPARE(empty.q2.fetchedCount(), 0);
    QCOMPARE(total(empty), none);
}

void TestUserCard::journalOfTheRecipientOnly()
{
    DeskFixture f;
    f.addRecipient("u1", "Иванов");
    f.addRecipient("U2");
    f.addTool("T1");
    f.addTool("T2");
    f.fakes().clock.current = QDateTime(QDate(2026, 3, 4), QTime(8, 9, 10, 500));
    issue(f, "u1", "T1");
    issue(f, "U2", "T2");
    issue(f, "u1", "T1");
    addJournal(f, "U1", "T9", "Выдан", "2020-01-01"); // the code written in capitals
    TfmCard_U& card = openCard(f, "u1");
    QCOMPARE(column(card.q, "Operation"), (QStringList{"Выдан", "Сдан", "Выдан"}));
    QCOMPARE(column(card.q, "ID_T"), (QStringList{"T9", "T1", "T1"}));
    QCOMPARE(DeskFixture::find<DbGrid>(card, "DBGrid1")->queryModel()->displayText(1, 1), QStringLiteral("08:09:10"));
    QCOMPARE(DeskFixture::find<QLabel>(card, "DBText2")->text(), QStringLiteral("Иванов"));
}

// The tool each row names, as registered now: by its identity, or by the
// code a row written with the code names; nothing for a deleted tool.
void TestUserCard::journalNamesTheTool()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.db().exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Passed) VALUES "
                               "('T002', 'T002', 'Hammer', %1), ('K5', 'OLD5', 'Ключ', %1)")
                    .arg(f.db().dialect().sqlTrue()));
    f.addTool("D1");
    f.addTool("GONE");
    issue(f, "U1", "T002");
    issue(f, "U1", "D1");
    issue(f, "U1", "GONE");
    addJournal(f, "U1", "K5", "Сдан", "2026-01-01");
    f.db().exec("UPDATE Tools SET ID_Tool = 'D1-NEW', Naim = 'Дрель' WHERE ID_Tool = 'D1'");
    f.db().exec("DELETE FROM Tools WHERE ID_Tool = 'GONE'");
    TfmCard_U& card = openCard(f, "U1");
    auto* grid = DeskFixture::find<DbGrid>(card, "DBGrid1");
    const QueryModel* model = grid->queryModel();
    QStringList codes, names;
    for (int row = 0; row < model->rowCount(); ++row) {
        codes << model->displayText(row, 7);
        names << model->displayText(row, 8);
    }
    QCOMPARE(codes, (QStringList{"K5", "", "D1-NEW", "T002"}));
    QCOMPARE(names, (QStringList{"Ключ", "", "Дрель", "Hammer"}));
    QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("ID инструмента"));
    QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Наименование"));

    // The settings page hides them here as on the desk.
    QVERIFY(!grid->isColumnHidden(7));
    f.control<QCheckBox>("TfmSettings", "cbHistoryToolID")->setChecked(false);
    QVERIFY(grid->isColumnHidden(7));
    QVERIFY(!grid->isColumnHidden(8));
    f.control<QCheckBox>("TfmSettings", "cbHistoryNaim")->setChecked(false);
    QVERIFY(grid->isColumnHidden(8));
}

void TestUserCard::sortMarksPerField()
{
    DeskFixture f;
    f.addRecipient("U1");
    for (const char* code : {"B", "A", "C"})
        f.addTool(code, QStringLiteral("Тип ") + QLatin1String(code));
    f.db().exec("UPDATE Tools SET Model='M' || ID_Tool");
    f.db().exec("UPDATE Tools SET Model='MZ' WHERE ID_Tool='A'");
    for (const char* code : {"B", "A", "C"})
        issue(f, "U1", code);
    TfmCard_U& card = openCard(f, "U1");
    card.DBGrid2TitleClick(0); // code, unmarked: ascending
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"A", "B", "C"}));
    card.DBGrid2TitleClick(2); // model: ascending
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"B", "C", "A"}));
    card.DBGrid2TitleClick(0); // code is still marked: descending
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"C", "B", "A"}));
    card.DBGrid2TitleClick(0);
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"A", "B", "C"}));
    openCard(f, "U1"); // the marks start afresh
    card.DBGrid2TitleClick(2);
    QCOMPARE(column(card.q2, "ID_Tool"), (QStringList{"B", "C", "A"}));
}

void TestUserCard::pageChangeOffersReturn()
{
    DeskFixture f;
    f.addRecipient("U1");
    TfmCard_U& card = openCard(f, "U1");
    auto* pages = DeskFixture::find<QTabWidget>(card, "PageControl1");
    auto* returnButton = DeskFixture::find<QPushButton>(card, "btReturn_Tool");
    QVERIFY(!returnButton->isEnabled());
    pages->setCurrentIndex(1);
    QVERIFY(returnButton->isEnabled());
    pages->setCurrentIndex(0);
    QVERIFY(!returnButton->isEnabled());
}

void TestUserCard::operatorReturn_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fio");
    QTest::addColumn<QString>("message");
    QTest::newRow("Russian") << "RU"
                             << "Сдан"
                             << "ОПЕРАТОР"
                             << "Инструмент сдан оператором";
    QTest::newRow("English") << "EN"
                             << "passed"
                             << "OPERATOR"
                             << "Tool delivered by operator";
}

void TestUserCard::operatorReturn()
{
    QFETCH(QString, language);
    QFETCH(QString, operation);
    QFETCH(QString, fio);
    QFETCH(QString, message);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    f.desk().setClearAfterEvent(false); // the pair stays on the desk after the issue
    f.addRecipient("U1");
    f.addTool("T1", "Дрель", "Bosch", "GSB 13", "хорошее");
    f.addTool("T2", "Пила");
    setPrice(f, "T1", 100);
    setPrice(f, "T2", 50.25);
    issue(f, "U1", "T1");
    issue(f, "U1", "T2");
    QVERIFY(f.desk().recipientSelected() && f.desk().toolSelected());
    // The code changed since the issue: the row names the tool by its code now.
    f.db().exec("UPDATE Tools SET ID_Tool='T1-NEW' WHERE ID_Tool='T1'");

    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
    QVERIFY(f.session().qUsers.locate("ID_User", "U1"));
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    QSignalSpy toolsChanged(&f.app(), &Navigator::toolsChanged);
    QString totalBefore, totalAfter;
    QStringList onHandAfter;
    f.fakes().dialogs.confirmAnswers.push_back(true);
    f.fakes().dialogs.modalScripts.push_back([&](QDialog&) {
        totalBefore = total(card);
        DeskFixture::find<QTabWidget>(card, "PageControl1")->setCurrentIndex(1);
        QVERIFY(card.q2.locate("ID_Tool", "T1-NEW"));
        f.fakes().clock.current = QDateTime(QDate(2026, 5, 6), QTime(14, 15, 16));
        DeskFixture::find<QPushButton>(card, "btReturn_Tool")->click();
        totalAfter = total(card);
        onHandAfter = column(card.q2, "ID_Tool");
    });
    f.window<TfmUsers>("TfmUsers").DBGrid1DblClick();

    QCOMPARE(f.fakes().dialogs.texts("confirm"), QStringList{f.session().texts().rsReturnConfirm});
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{message});
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
    QCOMPARE(onHandAfter, QStringList{"T2"});
    QCOMPARE(totalBefore, language == "RU" ? roubles("150,25 ₽") : QStringLiteral("₽150.25"));
    QCOMPARE(totalAfter, language == "RU" ? roubles("50,25 ₽") : QStringLiteral("₽50.25"));
    QCOMPARE(f.toolValue("T1-NEW", "Passed").toInt(), 1);
    QCOMPARE(f.toolValue("T1-NEW", "OwnerID").toString(), QStringLiteral("0"));
    QCOMPARE(f.toolValue("T2", "Passed").toInt(), 0);
    // The journal row, on top of the desk's journal as well.
    QCOMPARE(f.journalCount(), 3);
    QCOMPARE(f.lastJournal("ID_U").toString(), QStringLiteral("0"));
    QCOMPARE(f.lastJournal("ID_T").toString(), QStringLiteral("T1-NEW"));
    QCOMPARE(f.lastJournal("ADate").toString(), QStringLiteral("2026-05-06"));
    QCOMPARE(f.lastJournal("ATime").toString(), QStringLiteral("14:15:16"));
    QCOMPARE(f.lastJournal("Operation").toString(), operation);
    QCOMPARE(f.lastJournal("FIO").toString(), fio);
    QCOMPARE(f.lastJournal("Model").toString(), QStringLiteral("Bosch GSB 13"));
    QCOMPARE(f.lastJournal("State").toString(), QStringLiteral("хорошее"));
    QCOMPARE(f.lastJournal("Organization").toString(), QString());
    QCOMPARE(f.session().qHistory.text("FIO"), fio);
    QCOMPARE(card.q.fetchedCount(), 2); // the operator's row is not the recipient's
    QVERIFY(!f.desk().recipientSelected());
    QVERIFY(!f.desk().toolSelected());
    QCOMPARE(toolsChanged.size(), 1);
}

void TestUserCard::returnNeedsConfirmationAndATool()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    TfmCard_U& empty = openCard(f, "U1");
    f.fakes().dialogs.confirmAnswers.push_back(true);
    empty.btReturn_ToolClick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty()); // nothing on hand, nothing asked

    issue(f, "U1", "T1");
    TfmCard_U& card = openCard(f, "U1");
    f.fakes().dialogs.confirmAnswers.clear();
    f.fakes().dialogs.confirmAnswers.push_back(false);
    card.btReturn_ToolClick();
    QCOMPARE(f.fakes().dialogs.texts("confirm").size(), 1);
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(card.q2.fetchedCount(), 1);
}

void TestUserCard::returnOfToolTakenBackElsewhere()
{
    DeskFixture f;
    f.addRecipient("U1");
    const qint64 other = f.addRecipient("U2");
    f.addTool("T1");
    issue(f, "U1", "T1");
    TfmCard_U& card = openCard(f, "U1");
    QCOMPARE(card.q2.fetchedCount(), 1);
    // Another desk takes it back and issues it to someone else meanwhile.
    issue(f, "U1", "T1");
    issue(f, "U2", "T1");
    f.fakes().dialogs.clear();
    f.fakes().dialogs.confirmAnswers.push_back(true);
    card.btReturn_ToolClick();
    QCOMPARE(f.journalCount(), 3);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(other));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.fakes().dialogs.texts("confirm").size(), 1);
    QVERIFY(f.fakes().dialogs.texts("message").isEmpty());
    QCOMPARE(card.q2.fetchedCount(), 0); // shown as stored now
}

void TestUserCard::failedReturnWritesNothing()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    setPrice(f, "T1", 7);
    issue(f, "U1", "T1");
    TfmCard_U& card = openCard(f, "U1");
    f.refuseWrites("Tools", "UPDATE");
    f.fakes().dialogs.confirmAnswers.push_back(true);
    card.btReturn_ToolClick();
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList{f.session().texts().rsRequestError});
    QVERIFY(f.fakes().dialogs.texts("message").isEmpty());
    QCOMPARE(f.journalCount(), 1); // the row went with the refused change
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(card.q2.fetchedCount(), 1);
    QCOMPARE(total(card), roubles("7,00 ₽"));
}

void TestUserCard::lastIssuedDate_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("latest issue, either language's word") << "T1"
                                                          << "U1" << QDate(2026, 4, 2);
    QTest::newRow("codes compared caselessly") << "t1"
                                               << "u1" << QDate(2026, 4, 2);
    QTest::newRow("returns do not count") << "T2"
                                          << "U1" << QDate(1990, 1, 1);
    QTest::newRow("never issued") << "T3"
                                  << "U1" << QDate(1990, 1, 1);
    QTest::newRow("a pattern is no wildcard") << "T%"
                                              << "U_" << QDate(1990, 1, 1);
}

void TestUserCard::lastIssuedDate()
{
    QFETCH(QString, tool);
    QFETCH(QString, user);
    QFETCH(QDate, expected);
    DeskFixture f;
    addJournal(f, "U1", "T1", "Выдан", "2026-03-01");
    addJournal(f, "U1", "T1", "issued", "2026-04-02");
    addJournal(f, "U1", "T1", "Сдан", "2026-05-01");
    addJournal(f, "U1", "T1", "Выдан ", "2026-05-02"); // not the word exactly
    addJournal(f, "U2", "T1", "Выдан", "2026-06-01");
    addJournal(f, "U1", "T2", "passed", "2026-06-01");
    addJournal(f, "U1", "T2", "Сдан", "2026-06-02");
    auto& card = f.window<TfmCard_U>("TfmCard_U");
    QCOMPARE(card.GetLastIssuedDate(tool, user).date(), expected);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestUserCard::issueDatesFilledOnce()
{
    DeskFixture f;
    f.addRecipient("U1");
    for (const char* code : {"T1", "T2", "T3", "T4"})
        f.addTool(code);
    for (const char* code : {"T1", "T2", "T3", "T4"}) {
        f.fakes().clock.current = QDateTime(QDate(2026, 7, 8), QTime(9, 0));
        issue(f, "U1", code);
    }
    f.db().exec("UPDATE Tools SET Issued_date='2005-05-05' WHERE ID_Tool='T2'"); // kept
    f.db().exec("UPDATE Tools SET Issued_date='1995-01-01' WHERE ID_Tool='T3'"); // looked up again
    f.db().exec("DELETE FROM History WHERE ID_T='T4'");                          // nothing to find
    TfmCard_U& card = openCard(f, "U1");
    card.Calc_Issued_Date();
    const auto issued = [&](const char* code) { return f.toolValue(code, "Issued_date").toString(); };
    QCOMPARE(issued("T1"), QStringLiteral("2026-07-08"));
    QCOMPARE(issued("T2"), QStringLiteral("2005-05-05"));
    QCOMPARE(issued("T3"), QStringLiteral("2026-07-08"));
    QCOMPARE(issued("T4"), QStringLiteral("1990-01-01"));

    // A second statement keeps what was found and looks for the rest again.
    addJournal(f, "U1", "T4", "issued", "2026-08-09");
    f.db().exec("UPDATE History SET ADate='2026-09-09' WHERE ID_T='T1'");
    card.Calc_Issued_Date();
    QCOMPARE(issued("T1"), QStringLiteral("2026-07-08"));
    QCOMPARE(issued("T4"), QStringLiteral("2026-08-09"));
}

QTEST_MAIN(TestUserCard)
#include "tst_usercard.moc"
