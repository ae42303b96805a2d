// Tools out with their due dates: the date an issue keeps, the out list and
// its order, the desk's overdue line, and the tools-out page, on the file and
// on the server.
#include "../reports/ConsumerTools.h"
#include "core/Messages.h"
#include "core/ToolsOut.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "outpage/OutToolsModel.h"
#include "outpage/TfmOut.h"
#include "reportengine/ReportPreview.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"

#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

const QDate kToday(2026, 12, 10);

void addType(DeskFixture& f, const QString& name, const QVariant& days)
{
    f.db().exec(QStringLiteral("INSERT INTO TOOLTYPES (AField, LoanDays) VALUES (?, ?)"), {name, days});
}

void setToolDays(DeskFixture& f, const QString& code, const QVariant& days)
{
    f.db().exec(QStringLiteral("UPDATE Tools SET LoanDays = ? WHERE ID_Tool = ?"), {days, code});
}

// Issues the tool to the worker on that day, through the desk.
void issueOn(DeskFixture& f, const QString& worker, const QString& tool, const QDate& day)
{
    f.fakes().clock.current = QDateTime(day, QTime(9, 0, 0));
    f.scan(worker);
    f.scan(tool);
    f.desk().clearRecipient();
    f.desk().clearTool();
}

QDate lastDue(DeskFixture& f)
{
    return f.lastJournal(QStringLiteral("Due_date")).toDate();
}

QStringList codes(const QList<OutTool>& tools)
{
    QStringList result;
    for (const OutTool& t : tools)
        result << t.code;
    return result;
}

} // namespace

class TestToolsOut : public QObject
{
    Q_OBJECT
private slots:
    void dueDateOfAnIssue_data();
    void dueDateOfAnIssue();
    void changedPeriodMovesLaterIssuesOnly();
    void outListOrderAndColumns();
    void deskLineNamesOverdueTools_data();
    void deskLineNamesOverdueTools();
    void deskLineFollowsTheReturn();
    void pageListsSearchesAndSorts();
    void pageDoubleClickOpensTheCard();
    void pageEntryForOperator();
    void pageReportHoldsTheRowsListed();
};

void TestToolsOut::dueDateOfAnIssue_data()
{
    QTest::addColumn<QVariant>("typeDays");
    QTest::addColumn<QVariant>("toolDays");
    QTest::addColumn<QString>("typeName"); // as the dictionary writes it
    QTest::addColumn<QDate>("due");
    const QVariant none;
    QTest::newRow("no period") << none << none << "Дрель" << QDate();
    QTest::newRow("type's") << QVariant(14) << none << "Дрель" << kToday.addDays(14);
    QTest::newRow("type in other letter case") << QVariant(7) << none << "ДРЕЛЬ" << kToday.addDays(7);
    QTest::newRow("tool's") << none << QVariant(3) << "Дрель" << kToday.addDays(3);
    QTest::newRow("tool's before type's") << QVariant(14) << QVariant(3) << "Дрель" << kToday.addDays(3);
    QTest::newRow("tool's 0: none") << QVariant(14) << QVariant(0) << "Дрель" << QDate();
    QTest::newRow("type's 0: none") << QVariant(0) << none << "Дрель" << QDate();
    QTest::newRow("other type's") << QVariant(14) << none << "Ключ" << QDate();
}

void TestToolsOut::dueDateOfAnIssue()
{
    QFETCH(QVariant, typeDays);
    QFETCH(QVariant, toolDays);
    QFETCH(QString, typeName);
    QFETCH(QDate, due);
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"));
    addType(f, typeName, typeDays);
    setToolDays(f, QStringLiteral("T1"), toolDays);

    issueOn(f, QStringLiteral("U1"), QStringLiteral("T1"), kToday);
    QCOMPARE(f.lastJournal(QStringLiteral("Operation")).toString(), QStringLiteral("Выдан"));
    QCOMPARE(lastDue(f), due);
    QCOMPARE(f.lastJournal(QStringLiteral("Due_date")).isNull(), !due.isValid());

    // A return keeps no due date.
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T1"), kToday.addDays(1));
    QCOMPARE(f.lastJournal(QStringLiteral("Operation")).toString(), QStringLiteral("Сдан"));
    QVERIFY(f.lastJournal(QStringLiteral("Due_date")).isNull());
}

void TestToolsOut::changedPeriodMovesLaterIssuesOnly()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"));
    f.addTool(QStringLiteral("T2"), QStringLiteral("Дрель"));
    addType(f, QStringLiteral("Дрель"), 10);
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T1"), QDate(2026, 12, 1));
    f.db().exec(QStringLiteral("UPDATE TOOLTYPES SET LoanDays = 2"));
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T2"), QDate(2026, 12, 1));

    const QList<OutTool> out = ToolsOut::load(f.db(), kToday);
    QCOMPARE(codes(out), (QStringList{"T2", "T1"})); // T2 overdue since the 3rd, T1 due on the 11th
    QCOMPARE(out[0].due, QDate(2026, 12, 3));
    QCOMPARE(out[1].due, QDate(2026, 12, 11));
}

void TestToolsOut::outListOrderAndColumns()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов И.И."), QStringLiteral("Цех 1"),
                   QStringLiteral("Сборка"));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."), QStringLiteral("Цех 2"),
                   QStringLiteral("Склад"));
    for (const char* code : {"T1", "T2", "T3", "T4", "T5", "T6"})
        f.addTool(QLatin1String(code), QStringLiteral("Дрель"));
    f.db().exec(QStringLiteral("UPDATE Tools SET Naim = 'Дрель ударная' WHERE ID_Tool = 'T1'"));
    setToolDays(f, QStringLiteral("T1"), 5); // due 6.12: overdue by 4 days
    setToolDays(f, QStringLiteral("T2"), 8); // due 8.12: overdue by 2 days
    setToolDays(f, QStringLiteral("T3"), 9); // due 10.12: due today, not overdue
    setToolDays(f, QStringLiteral("T6"), 1); // returned: not out
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T2"), QDate(2026, 11, 30));
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T1"), QDate(2026, 12, 1));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("T3"), QDate(2026, 12, 1));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("T4"), QDate(2026, 11, 20)); // no period, out longest
    issueOn(f, QStringLiteral("U2"), QStringLiteral("T6"), QDate(2026, 11, 1));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("T6"), QDate(2026, 11, 2));
    // T5 issued by a copy of an older version: a journal row without a due
    // date, and the word of the other language.
    f.db().exec(QStringLiteral("UPDATE Tools SET Passed = %1, OwnerID = ? WHERE ID_Tool = 'T5'")
                    .arg(f.db().dialect().sqlFalse()),
                {f.db().scalar(QStringLiteral("SELECT ID FROM Users WHERE ID_User = 'U1'")).toString()});
    f.db().exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation) VALUES "
                               "('U1', 't5', '2026-11-25', '08:00:00', 'issued')"));

    const QList<OutTool> out = ToolsOut::load(f.db(), kToday);
    QCOMPARE(codes(out), (QStringList{"T1", "T2", "T4", "T5", "T3"}));
    const OutTool& t1 = out[0];
    QCOMPARE(t1.name, QStringLiteral("Дрель ударная"));
    QCOMPARE(t1.holder, QStringLiteral("Иванов И.И."));
    QCOMPARE(t1.department, QStringLiteral("Сборка"));
    QCOMPARE(t1.issuedOn, QDate(2026, 12, 1));
    QCOMPARE(t1.issuedAt, QTime(9, 0, 0));
    QCOMPARE(t1.daysOut(kToday), 9);
    QVERIFY(t1.overdue(kToday));
    QCOMPARE(ToolsOut::cellText(t1, ToolsOut::IssuedAt, kToday), QStringLiteral("01.12.2026 09:00"));
    QCOMPARE(ToolsOut::cellText(t1, ToolsOut::Due, kToday), QStringLiteral("06.12.2026"));
    const OutTool& t5 = out[3];
    QCOMPARE(t5.issuedOn, QDate(2026, 11, 25));
    QVERIFY(!t5.due.isValid());
    QCOMPARE(ToolsOut::cellText(t5, ToolsOut::Due, kToday), QString());
    QVERIFY(!out[4].overdue(kToday)); // due today is not late yet

    // One holder's tools only, the overdue ones for the desk.
    const QString u2 = f.db().scalar(QStringLiteral("SELECT ID FROM Users WHERE ID_User = 'U2'")).toString();
    QCOMPARE(codes(ToolsOut::load(f.db(), kToday, u2)), (QStringList{"T4", "T3"}));
    QCOMPARE(codes(ToolsOut::overdueOnly(out, kToday)), (QStringList{"T1", "T2"}));
}

void TestToolsOut::deskLineNamesOverdueTools_data()
{
    QTest::addColumn<int>("overdue");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << 0 << true << QString();
    QTest::newRow("two") << 2 << true << QStringLiteral("Просрочено: 2 — T001 с 01.12.2026, T002 с 02.12.2026");
    QTest::newRow("two, English") << 2 << false
                                  << QStringLiteral("Overdue: 2 — T001 since 01.12.2026, T002 since 02.12.2026");
    QTest::newRow("five") << 5 << true
                          << QStringLiteral("Просрочено: 5 — T001 с 01.12.2026, T002 с 02.12.2026, T003 с "
                                            "03.12.2026, …");
}

void TestToolsOut::deskLineNamesOverdueTools()
{
    QFETCH(int, overdue);
    QFETCH(bool, russian);
    QFETCH(QString, line);
    DeskFixture f;
    QVERIFY(f.started());
    if (!russian)
        f.session().setLanguage(QStringLiteral("EN"));
    f.addRecipient(QStringLiteral("U1"));
    f.addRecipient(QStringLiteral("U2"));
    for (int i = 1; i <= overdue; ++i) {
        const QString code = QStringLiteral("T%1").arg(i, 3, 10, QLatin1Char('0'));
        f.addTool(code);
        setToolDays(f, code, 1);
        issueOn(f, QStringLiteral("U1"), code, QDate(2026, 11, 29).addDays(i)); // due on the i-th
    }
    f.addTool(QStringLiteral("T900")); // out without a period: never overdue
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T900"), QDate(2026, 1, 1));
    f.addTool(QStringLiteral("T901")); // another worker's overdue tool
    setToolDays(f, QStringLiteral("T901"), 1);
    issueOn(f, QStringLiteral("U2"), QStringLiteral("T901"), QDate(2026, 11, 1));
    f.addTool(QStringLiteral("T999"));

    f.fakes().clock.current = QDateTime(kToday, QTime(12, 0, 0));
    f.fakes().dialogs.clear();
    f.scan(QStringLiteral("U1"));
    QCOMPARE(f.deskMessage(), line);
    // The issue goes on as ever, and no box was shown.
    f.scan(QStringLiteral("T999"));
    QCOMPARE(f.toolValue(QStringLiteral("T999"), QStringLiteral("Passed")).toInt(), 0);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestToolsOut::deskLineFollowsTheReturn()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    for (const char* code : {"T1", "T2"}) {
        f.addTool(QLatin1String(code));
        setToolDays(f, QLatin1String(code), 2);
        issueOn(f, QStringLiteral("U1"), QLatin1String(code), QDate(2026, 12, 1));
    }
    f.fakes().clock.current = QDateTime(kToday, QTime(12, 0, 0));
    // The tool first, then the worker: the return is recorded, and the line
    // counts what is still overdue after it.
    f.scan(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    QCOMPARE(f.toolValue(QStringLiteral("T1"), QStringLiteral("Passed")).toInt(), 1);
    QCOMPARE(f.deskMessage(), QStringLiteral("Просрочено: 1 — T2 с 03.12.2026"));
}

void TestToolsOut::pageListsSearchesAndSorts()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов И.И."), QStringLiteral("Цех 1"),
                   QStringLiteral("Сборка"));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."), QStringLiteral("Цех 2"),
                   QStringLiteral("Склад"));
    f.addTool(QStringLiteral("A1"));
    f.addTool(QStringLiteral("B2"));
    f.addTool(QStringLiteral("C3"));
    f.addTool(QStringLiteral("D4")); // in the store
    setToolDays(f, QStringLiteral("C3"), 1);
    issueOn(f, QStringLiteral("U1"), QStringLiteral("A1"), QDate(2026, 12, 1));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("B2"), QDate(2026, 12, 5));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("C3"), QDate(2026, 12, 8));
    f.fakes().clock.current = QDateTime(kToday, QTime(12, 0, 0));

    f.find<QPushButton>(f.main(), "btToolsOut")->click();
    auto& page = f.window<TfmOut>("TfmOut");
    QCOMPARE(f.main().currentPage(), &page);
    auto* grid = DeskFixture::find<QTableView>(page, "grid_Out");
    const auto column = [grid](int c) {
        QStringList texts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->model()->index(row, c).data().toString();
        return texts;
    };
    QCOMPARE(column(ToolsOut::Code), (QStringList{"C3", "A1", "B2"}));
    QCOMPARE(column(ToolsOut::DaysOut), (QStringList{"2", "9", "5"}));
    QCOMPARE(grid->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), OutToolsModel::overdueColour());
    QCOMPARE(grid->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), OutToolsModel::issuedColour());
    QVERIFY(OutToolsModel::overdueColour() != OutToolsModel::issuedColour());
    QCOMPARE(DeskFixture::find<QLabel>(page, "lbCount")->text(), QStringLiteral("выдано: 3, просрочено: 1"));

    // Search by holder, department or code, ignoring letter case.
    auto* search = DeskFixture::find<QLineEdit>(page, "edSearch");
    search->setText(QStringLiteral("петров"));
    QCOMPARE(column(ToolsOut::Code), (QStringList{"C3", "B2"}));
    search->setText(QStringLiteral("сборка"));
    QCOMPARE(column(ToolsOut::Code), (QStringList{"A1"}));
    search->setText(QStringLiteral("b2"));
    QCOMPARE(column(ToolsOut::Code), (QStringList{"B2"}));
    search->clear();
    DeskFixture::find<QCheckBox>(page, "cbOverdueOnly")->setChecked(true);
    QCOMPARE(column(ToolsOut::Code), (QStringList{"C3"}));
    DeskFixture::find<QCheckBox>(page, "cbOverdueOnly")->setChecked(false);

    // A title click sorts up, the next one down.
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(ToolsOut::Code) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QCOMPARE(column(ToolsOut::Code), (QStringList{"A1", "B2", "C3"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QCOMPARE(column(ToolsOut::Code), (QStringList{"C3", "B2", "A1"}));
    const int days = header->sectionViewportPosition(ToolsOut::DaysOut) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(days, header->height() / 2));
    QCOMPARE(column(ToolsOut::DaysOut), (QStringList{"2", "5", "9"}));

    // A tool returned at the desk leaves the list when the page shows again.
    f.find<QPushButton>(f.main(), "Panel4")->click();
    issueOn(f, QStringLiteral("U1"), QStringLiteral("A1"), kToday);
    f.find<QPushButton>(f.main(), "btToolsOut")->click();
    QCOMPARE(grid->model()->rowCount(), 2);
}

void TestToolsOut::pageDoubleClickOpensTheCard()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    for (const char* code : {"T1", "T2", "T3"})
        f.addTool(QLatin1String(code));
    issueOn(f, QStringLiteral("U1"), QStringLiteral("T2"), QDate(2026, 12, 1));
    f.fakes().clock.current = QDateTime(kToday, QTime(12, 0, 0));
    f.find<QPushButton>(f.main(), "btToolsOut")->click();
    auto& page = f.window<TfmOut>("TfmOut");
    auto* grid = DeskFixture::find<QTableView>(page, "grid_Out");
    f.fakes().dialogs.clear();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    emit grid->doubleClicked(grid->currentIndex());

    // The card of that tool was shown, and the page is back after it.
    bool cardShown = false;
    for (const auto& shown : f.fakes().dialogs.shown)
        cardShown = cardShown || (shown.kind == u"modal" && shown.text == u"TfmCard_T");
    QVERIFY2(cardShown, "no card shown");
    QCOMPARE(f.window<TfmCard_T>("TfmCard_T").ID_ForHend, QStringLiteral("T2"));
    QCOMPARE(f.main().currentPage(), &page);

    // A tool deleted meanwhile: said so, the list read again.
    f.db().exec(QStringLiteral("DELETE FROM Tools WHERE ID_Tool = 'T2'"));
    f.fakes().dialogs.clear();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    emit grid->doubleClicked(grid->currentIndex());
    QCOMPARE(f.fakes().dialogs.shown.size(), 1);
    QCOMPARE(f.fakes().dialogs.shown[0].kind, QStringLiteral("message"));
    QVERIFY(f.fakes().dialogs.shown[0].text.contains(QStringLiteral("T2")));
    QCOMPARE(grid->model()->rowCount(), 0);
}

void TestToolsOut::pageEntryForOperator()
{
    DeskFixture f({}, DeskFixture::SignIn::Operator);
    QVERIFY(f.started());
    auto* entry = DeskFixture::find<QPushButton>(f.main(), "btToolsOut");
    QVERIFY(entry->isVisibleTo(&f.main()));
    QCOMPARE(entry->text(), QStringLiteral("Выданный инструмент"));
    f.session().setLanguage(QStringLiteral("EN"));
    QCOMPARE(entry->text(), QStringLiteral("Tools out"));
}

void TestToolsOut::pageReportHoldsTheRowsListed()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов И.И."));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."));
    f.addTool(QStringLiteral("A1"));
    f.addTool(QStringLiteral("B2"));
    setToolDays(f, QStringLiteral("B2"), 3);
    issueOn(f, QStringLiteral("U1"), QStringLiteral("A1"), QDate(2026, 12, 1));
    issueOn(f, QStringLiteral("U2"), QStringLiteral("B2"), QDate(2026, 12, 2));
    f.fakes().clock.current = QDateTime(kToday, QTime(12, 0, 0));
    f.find<QPushButton>(f.main(), "btToolsOut")->click();
    auto& page = f.window<TfmOut>("TfmOut");
    DeskFixture::find<QLineEdit>(page, "edSearch")->setText(QStringLiteral("Петров"));

    const QString pdf = f.data().folder() + QStringLiteral("out.pdf");
    f.fakes().dialogs.saveFileAnswers.push_back(pdf);
    f.fakes().dialogs.modalScripts.push_back([](QDialog& window) { QVERIFY(ReportPreview::of(window)->saveAsPdf()); });
    DeskFixture::find<QPushButton>(page, "btReport")->click();
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList{});
    const QString text = consumers::pdfText(pdf);
    QCOMPARE(consumers::missingInOrder(text,
                                       {"Выданный инструмент", "выдано: 2, просрочено: 1", "Срок возврата", "B2",
                                        "Петров П.П.", "02.12.2026", "05.12.2026", "5"}),
             QString());
    QVERIFY(!text.contains(QStringLiteral("A1")));          // left out by the search
    QCOMPARE(text.count(QStringLiteral("Петров П.П.")), 1); // built once, not twice
}

QTEST_MAIN(TestToolsOut)
#include "tst_toolsout.moc"
