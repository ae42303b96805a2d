// One path for database failures: a table pulled from under each window's
// main action gives exactly one error report, nothing half-written, and the
// program goes on once the table is back.
#include "core/Session.h"
#include "data/Connection.h"
#include "desk/TfmHend.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmDict.h"
#include "tools/TfmEditor_T.h"
#include "widgets/DbGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

using Action = std::function<void(DeskFixture&)>;

void scan(DeskFixture& f, const char* recipient, const char* tool)
{
    f.scan(QLatin1String(recipient));
    f.scan(QLatin1String(tool));
}

void runScripted(DeskFixture& f, QPushButton* opener, const std::function<void(QDialog&)>& script)
{
    f.fakes().dialogs.modalScripts.push_back(script);
    opener->click();
}

void openToolList(DeskFixture& f)
{
    f.app().showToolList();
    f.session().qTools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T1"));
}

} // namespace

class TestErrors : public QObject
{
    Q_OBJECT
private slots:
    void oneReportAndTheProgramGoesOn_data();
    void oneReportAndTheProgramGoesOn();
    void startWithABrokenDatabaseEnds();
};

void TestErrors::oneReportAndTheProgramGoesOn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<Action>("action");
    // At the desk a failure is told on the line under the entry box: a box
    // would take the scanner's next Enter. Elsewhere it is one error report.
    QTest::addColumn<bool>("atDesk");

    QTest::newRow("desk: scan a pair, journal gone")
        << "History" << Action([](DeskFixture& f) { scan(f, "U1", "T1"); }) << true;
    QTest::newRow("desk: scan, recipients gone") << "Users" << Action([](DeskFixture& f) { f.scan("U1"); }) << true;
    QTest::newRow("desk: note on a journal row") << "History" << Action([](DeskFixture& f) {
        f.fakes().dialogs.inputAnswers.push_back(QStringLiteral("note"));
        emit f.control<DbGrid>("TfmMain", "grid_History")->rowDoubleClicked();
    }) << false;
    QTest::newRow("tool list: search") << "Tools" << Action([](DeskFixture& f) {
        f.control<QPushButton>("TfmTools", "btSearch")->click();
    }) << false;
    QTest::newRow("tool list: delete") << "Tools" << Action([](DeskFixture& f) {
        f.fakes().dialogs.confirmAnswers.push_back(true);
        f.control<QPushButton>("TfmTools", "Button3")->click();
    }) << false;
    QTest::newRow("tool editor: code check") << "Users" << Action([](DeskFixture& f) {
        runScripted(f, f.control<QPushButton>("TfmTools", "Button1"), [](QDialog& editor) {
            DeskFixture::find<QLineEdit>(editor, "DBEdit1")->setText(QStringLiteral("T9"));
            DeskFixture::find<QPushButton>(editor, "btOK")->click();
        });
    }) << false;
    QTest::newRow("tool editor: types dictionary") << "TOOLTYPES" << Action([](DeskFixture& f) {
        runScripted(f, f.control<QPushButton>("TfmTools", "Button2"),
                    [](QDialog& editor) { DeskFixture::find<QToolButton>(editor, "SpeedButton3")->click(); });
    }) << false;
    QTest::newRow("tool card: operator's return") << "History" << Action([](DeskFixture& f) {
        f.fakes().dialogs.confirmAnswers.push_back(true);
        DeskFixture::find<QPushButton>(f.window<TfmCard_T>("TfmCard_T"), "btReturn")->click();
    }) << false;
    QTest::newRow("manual issue") << "History" << Action([](DeskFixture& f) {
        auto& hend = f.window<TfmHend>("TfmHend");
        hend.toolCode = QStringLiteral("T2");
        hend.FormShow();
        DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("U1"));
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
    }) << false;
    QTest::newRow("dictionary: add") << "MESTO" << Action([](DeskFixture& f) {
        auto& dict = f.window<TfmDict>("TfmDict_Mesto");
        DeskFixture::find<QLineEdit>(dict, "edField")->setText(QStringLiteral("Склад"));
        DeskFixture::find<QPushButton>(dict, "btAdd")->click();
    }) << false;
    QTest::newRow("language switch") << "Tools" << Action([](DeskFixture& f) {
        f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    }) << false;
}

void TestErrors::oneReportAndTheProgramGoesOn()
{
    QFETCH(QString, table);
    QFETCH(Action, action);
    QFETCH(bool, atDesk);
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.addTool(QStringLiteral("T2"));
    scan(f, "U1", "T1"); // T1 is out: the card can take it back
    openToolList(f);
    f.window<TfmCard_T>("TfmCard_T").loadCurrentTool();
    const int journalBefore = f.journalCount();
    f.fakes().dialogs.clear();

    // The table is renamed, not dropped: its rows come back unchanged.
    f.db().changeSchema(QStringLiteral("ALTER TABLE %1 RENAME TO Broken_%1").arg(table));
    action(f);
    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    if (atDesk) {
        QCOMPARE(errors.size(), 0);
        QVERIFY2(f.deskMessage().contains(QStringLiteral("НЕ")), qPrintable(f.deskMessage()));
        QVERIFY2(f.deskMessage().contains(QStringLiteral("Broken_") + table) || f.deskMessage().contains(table),
                 qPrintable(f.deskMessage()));
        QCOMPARE(f.fakes().sound.beeps, 1);
    } else {
        QCOMPARE(errors.size(), 1);
    }
    f.db().changeSchema(QStringLiteral("ALTER TABLE Broken_%1 RENAME TO %1").arg(table));
    QCOMPARE(f.journalCount(), journalBefore);

    // The program goes on: the desk records the next pair.
    f.fakes().dialogs.clear();
    f.desk().clearRecipient();
    f.desk().clearTool();
    scan(f, "U1", "T2");
    QVERIFY2(f.fakes().dialogs.texts(QStringLiteral("error")).isEmpty(),
             qPrintable(f.fakes().dialogs.texts(QStringLiteral("error")).join(u'\n')));
    QCOMPARE(f.journalCount(), journalBefore + 1);
    QCOMPARE(f.toolValue(QStringLiteral("T2"), QStringLiteral("Passed")).toInt(), 0);
}

void TestErrors::startWithABrokenDatabaseEnds()
{
    TestData data;
    {
        Connection db;
        db.open(data.dbPath());
        db.changeSchema(QStringLiteral("ALTER TABLE Operations RENAME TO Gone"));
    }
    ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
    QVERIFY(!run.started);
    QCOMPARE(run.fakes.dialogs.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(run.fakes.dialogs.texts(QStringLiteral("modal")).isEmpty()); // no sign-in on a broken database
}

QTEST_MAIN(TestErrors)
#include "tst_errors.moc"
