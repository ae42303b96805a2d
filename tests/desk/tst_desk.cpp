// The issue desk driven like a scanner: codes typed into the entry box, each
// ended by Enter; checked against the database and the panels.
#include "config/TfmSettings.h"
#include "core/Messages.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"
#include "widgets/DbText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

class TestDesk : public QObject
{
    Q_OBJECT
private slots:
    void pairIssuesThenReturns_data();
    void pairIssuesThenReturns();
    void operationWordsFollowLanguage();
    void modelJoinsMakerAndModel_data();
    void modelJoinsMakerAndModel();
    void holderRule_data();
    void holderRule();
    void decisionUsesStoredToolState();
    void codeClassification_data();
    void codeClassification();
    void unknownCodeKeepsSelection();
    void writtenOffToolEmptiesToolPanel();
    void entryBoxTakesAtMostSixteen();
    void clearOffKeepsPairUntilNextEnter_data();
    void clearOffKeepsPairUntilNextEnter();
    void soundFollowsEveryAttempt_data();
    void soundFollowsEveryAttempt();
    void failedRecordingWritesNothing();
    void panelsShowSelection();
    void anyKeyResetsCounters();
};

void TestDesk::pairIssuesThenReturns_data()
{
    QTest::addColumn<bool>("recipientFirst");
    QTest::newRow("recipient then tool") << true;
    QTest::newRow("tool then recipient") << false;
}

void TestDesk::pairIssuesThenReturns()
{
    QFETCH(bool, recipientFirst);
    DeskFixture f;
    QVERIFY(f.started());
    const qint64 userKey = f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов И.И."), QStringLiteral("Цех 1"));
    f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"), QStringLiteral("Bosch"), QStringLiteral("GSB 13"),
              QStringLiteral("новый"));
    f.fakes().clock.current = QDateTime(QDate(2026, 3, 4), QTime(7, 8, 9, 650));

    const QStringList pair = recipientFirst ? QStringList{"U1", "T1"} : QStringList{"T1", "U1"};
    f.scan(pair[0]);
    QCOMPARE(f.journalCount(), 0);
    f.scan(pair[1]);
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.lastJournal("ID_U").toString(), QStringLiteral("U1"));
    QCOMPARE(f.lastJournal("ID_T").toString(), QStringLiteral("T1"));
    QCOMPARE(f.lastJournal("ADate").toString(), QStringLiteral("2026-03-04"));
    QCOMPARE(f.lastJournal("ATime").toString(), QStringLiteral("07:08:09"));
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("Выдан"));
    QCOMPARE(f.lastJournal("Note").toString(), QString());
    QVERIFY(!f.lastJournal("Note").isNull());
    QCOMPARE(f.lastJournal("FIO").toString(), QStringLiteral("Иванов И.И."));
    QCOMPARE(f.lastJournal("IType").toString(), QStringLiteral("Дрель"));
    QCOMPARE(f.lastJournal("Model").toString(), QStringLiteral("Bosch GSB 13"));
    QCOMPARE(f.lastJournal("Organization").toString(), QStringLiteral("Цех 1"));
    QCOMPARE(f.lastJournal("State").toString(), QStringLiteral("новый"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(userKey));

    // The journal shows the new row on top, with its time as hh:mm:ss.
    QCOMPARE(f.session().qHistory.recNo(), 0);
    QCOMPARE(f.control<DbGrid>("TfmMain", "grid_History")->queryModel()->displayText(0, 1), QStringLiteral("Выдан"));
    QCOMPARE(f.control<DbGrid>("TfmMain", "grid_History")->queryModel()->displayText(0, 0),
             QStringLiteral("04.03.2026"));

    f.scan(pair[0]);
    f.scan(pair[1]);
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("Сдан"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(userKey));
    QCOMPARE(f.control<DbGrid>("TfmMain", "grid_History")->queryModel()->displayText(0, 1), QStringLiteral("Сдан"));
    QCOMPARE(f.control<DbGrid>("TfmMain", "grid_History")->queryModel()->displayText(1, 1), QStringLiteral("Выдан"));
}

void TestDesk::operationWordsFollowLanguage()
{
    DeskFixture f;
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1); // EN
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("issued"));
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("passed"));
}

void TestDesk::modelJoinsMakerAndModel_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("journal");
    QTest::newRow("both") << "Bosch"
                          << "GSB"
                          << "Bosch GSB";
    QTest::newRow("no maker") << ""
                              << "GSB"
                              << " GSB";
    QTest::newRow("no model") << "Bosch"
                              << ""
                              << "Bosch ";
}

void TestDesk::modelJoinsMakerAndModel()
{
    QFETCH(QString, maker);
    QFETCH(QString, model);
    QFETCH(QString, journal);
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1", "Дрель", maker, model);
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.lastJournal("Model").toString(), journal);
}

void TestDesk::holderRule_data()
{
    QTest::addColumn<bool>("ruleOn");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<bool>("batch");
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<bool>("recipientShown");
    QTest::addColumn<bool>("toolShown");
    QTest::newRow("rule off: the other recipient returns it") << false << true << false << true << false << false;
    QTest::newRow("rule on, clear on") << true << true << false << false << false << false;
    QTest::newRow("rule on, clear on, batch keeps recipient") << true << true << true << false << true << false;
    QTest::newRow("rule on, clear off keeps both") << true << false << false << false << true << true;
}

void TestDesk::holderRule()
{
    QFETCH(bool, ruleOn);
    QFETCH(bool, clear);
    QFETCH(bool, batch);
    QFETCH(bool, recorded);
    QFETCH(bool, recipientShown);
    QFETCH(bool, toolShown);
    DeskFixture f;
    TfmMain& m = f.main();
    f.addRecipient("U1");
    const qint64 other = f.addRecipient("U2", "Петров П.П.");
    f.addTool("T1");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    f.scan("U1");
    f.scan("T1"); // issued to U1

    f.control<QCheckBox>("TfmSettings", "cbReturnToolOnlyOwner")->setChecked(ruleOn);
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(clear);
    if (batch)
        m.btPacketClick();
    f.fakes().dialogs.clear();
    f.scan("U2");
    f.scan("T1");
    QCOMPARE(f.journalCount(), recorded ? 2 : 1);
    if (recorded) {
        QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("Сдан"));
        QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(other));
        QVERIFY(f.fakes().dialogs.shown.isEmpty());
    } else {
        // Told under the entry box: a box would take the next scan's Enter.
        QCOMPARE(f.deskMessage(), QStringLiteral("Инструмент выдан другому получателю!"));
        QVERIFY(f.fakes().dialogs.shown.isEmpty());
        QCOMPARE(f.fakes().sound.beeps, 1);
        QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    }
    QCOMPARE(m.recipientSelected(), recipientShown);
    QCOMPARE(m.toolSelected(), toolShown);
}

void TestDesk::decisionUsesStoredToolState()
{
    // Another desk issues the tool after this desk has shown it as in store:
    // this desk must record a return, not a second issue.
    DeskFixture f;
    TfmMain& m = f.main();
    f.addRecipient("U1");
    const qint64 other = f.addRecipient("U2");
    f.addTool("T1");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    f.scan("T1");
    QVERIFY(m.toolSelected());
    QVERIFY(f.desk().qSearch_T.boolean("Passed"));

    Connection otherDesk;
    otherDesk.open(f.db().description());
    otherDesk.exec(
        QStringLiteral("UPDATE Tools SET Passed=%1, OwnerID=? WHERE ID_Tool='T1'").arg(otherDesk.dialect().sqlFalse()),
        {QString::number(other)});
    otherDesk.exec("INSERT INTO History (ID_U, ID_T, Operation) VALUES ('U2','T1','Выдан')");

    f.control<QCheckBox>("TfmSettings", "cbReturnToolOnlyOwner")->setChecked(true);
    f.scan("U1");
    QCOMPARE(f.deskMessage(), f.session().texts().rsIssuedToOther); // refused: U2 holds it
    QCOMPARE(f.journalCount(), 1);

    f.control<QCheckBox>("TfmSettings", "cbReturnToolOnlyOwner")->setChecked(false);
    f.scan("T1");
    f.scan("U1");
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.lastJournal("Operation").toString(), QStringLiteral("Сдан"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
}

void TestDesk::codeClassification_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("recipient") << "Иван-1"
                               << "user";
    QTest::newRow("recipient, other letter case") << "иван-1"
                                                  << "user";
    QTest::newRow("tool") << "T'1"
                          << "tool";
    QTest::newRow("tool, other case") << "t'1"
                                      << "tool";
    QTest::newRow("code of both registers is a recipient's") << "SAME"
                                                             << "user";
    QTest::newRow("written-off tool is still a tool") << "OFF"
                                                      << "tool";
    QTest::newRow("unknown") << "X9"
                             << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("quote and percent") << "'%"
                                       << "";
}

void TestDesk::codeClassification()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    DeskFixture f;
    f.addRecipient(QStringLiteral("Иван-1"));
    f.addRecipient("SAME");
    f.addTool("T'1");
    f.addTool("SAME");
    f.addTool("OFF");
    f.markWrittenOff(QStringLiteral("OFF"));
    f.control<QLineEdit>("TfmMain", "edInput")->setText(typed);
    QCOMPARE(f.main().GetData(), expected);
}

void TestDesk::unknownCodeKeepsSelection()
{
    DeskFixture f;
    TfmMain& m = f.main();
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.scan("U1");
    f.scan("NOPE");
    QVERIFY(m.recipientSelected());
    QCOMPARE(f.desk().qSearch_U.text("ID_User"), QStringLiteral("U1"));
    QVERIFY(f.control<QLineEdit>("TfmMain", "edInput")->text().isEmpty());
    f.scan("");
    QCOMPARE(f.desk().qSearch_U.text("ID_User"), QStringLiteral("U1"));
    f.scan("U2"); // another recipient replaces the first; nothing recorded
    QCOMPARE(f.desk().qSearch_U.text("ID_User"), QStringLiteral("U2"));
    QCOMPARE(f.journalCount(), 0);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestDesk::writtenOffToolEmptiesToolPanel()
{
    DeskFixture f;
    TfmMain& m = f.main();
    f.addTool("T1");
    f.addTool("OFF");
    f.markWrittenOff(QStringLiteral("OFF"));
    f.scan("T1");
    QVERIFY(m.toolSelected());
    f.scan("OFF");
    QVERIFY(!m.toolSelected());
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestDesk::entryBoxTakesAtMostSixteen()
{
    DeskFixture f;
    QTest::keyClicks(f.control<QLineEdit>("TfmMain", "edInput"), QStringLiteral("12345678901234567"));
    QCOMPARE(f.control<QLineEdit>("TfmMain", "edInput")->text(), QStringLiteral("1234567890123456"));
}

void TestDesk::clearOffKeepsPairUntilNextEnter_data()
{
    QTest::addColumn<bool>("batch");
    QTest::newRow("ordinary") << false;
    QTest::newRow("batch keeps the recipient") << true;
}

void TestDesk::clearOffKeepsPairUntilNextEnter()
{
    QFETCH(bool, batch);
    DeskFixture f;
    TfmMain& m = f.main();
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(false);
    if (batch)
        m.btPacketClick();
    f.scan("U1");
    f.scan("T1");
    QVERIFY(m.recipientSelected() && m.toolSelected());
    f.scan("NOPE"); // the next Enter first empties the pair
    QVERIFY(!m.toolSelected());
    QCOMPARE(m.recipientSelected(), batch);
    f.scan("T2");
    QCOMPARE(f.journalCount(), batch ? 2 : 1);
}

void TestDesk::soundFollowsEveryAttempt_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestDesk::soundFollowsEveryAttempt()
{
    QFETCH(bool, soundOn);
    DeskFixture f;
    f.control<QCheckBox>("TfmSettings", "cbPlaySound")->setChecked(soundOn);
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.addTool("T1");
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    f.scan("U1");
    QVERIFY(f.fakes().sound.played.isEmpty());
    f.scan("T1");
    f.control<QCheckBox>("TfmSettings", "cbReturnToolOnlyOwner")->setChecked(true);
    f.scan("U2");
    f.scan("T1"); // refused, still a recording attempt
    const QStringList expected = soundOn ? QStringList{f.data().data("sound.mp3"), f.data().data("sound.mp3")}
                                         : QStringList{};
    QCOMPARE(f.fakes().sound.played, expected);
}

void TestDesk::failedRecordingWritesNothing()
{
    // The journal row and the tool's change go together or not at all.
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    // The tool's change is refused, after the journal row is written.
    f.refuseWrites("Tools", "UPDATE");
    f.scan("U1");
    f.scan("T1");
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Выдача или возврат НЕ записаны: ")),
             qPrintable(f.deskMessage()));
    QVERIFY(f.deskMessage().contains("disk says no")); // the engine's text below
    QCOMPARE(f.fakes().sound.beeps, 1);
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    QCOMPARE(f.session().qHistory.fetchedCount(), 0);

    f.acceptWrites("Tools", "UPDATE");
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
}

void TestDesk::panelsShowSelection()
{
    DeskFixture f;
    TfmMain& m = f.main();
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(false);
    f.addRecipient("U1", "Сидоров С.С.", "Завод", "Цех 5");
    f.addTool("T1", "Пила", "Makita", "HS7601");
    f.scan("U1");
    QCOMPARE(f.control<DbText>("TfmMain", "DBText1")->text(), QStringLiteral("U1"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText2")->text(), QStringLiteral("Сидоров С.С."));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText3")->text(), QStringLiteral("Завод"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText4")->text(), QStringLiteral("Цех 5"));
    QVERIFY(f.control<DbText>("TfmMain", "DBText5")->text().isEmpty());
    f.scan("T1");
    QCOMPARE(f.control<DbText>("TfmMain", "DBText5")->text(), QStringLiteral("T1"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText6")->text(), QStringLiteral("Пила"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText7")->text(), QStringLiteral("Makita"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText8")->text(), QStringLiteral("HS7601"));
    QCOMPARE(f.control<DbText>("TfmMain", "DBText_Unique")->text(), QStringLiteral("T1"));
    QTest::mouseClick(f.control<QToolButton>("TfmMain", "SpeedButton6"), Qt::LeftButton);
    QVERIFY(f.control<DbText>("TfmMain", "DBText2")->text().isEmpty());
    QVERIFY(!m.recipientSelected());
    QTest::mouseClick(f.control<QToolButton>("TfmMain", "SpeedButton7"), Qt::LeftButton);
    QVERIFY(f.control<DbText>("TfmMain", "DBText6")->text().isEmpty());
    QVERIFY(!m.toolSelected());
}

void TestDesk::anyKeyResetsCounters()
{
    DeskFixture f;
    TfmMain& m = f.main();
    m.IdleSeconds = 4;
    m.PacketSeconds = 3;
    QTest::keyClick(f.control<QLineEdit>("TfmMain", "edInput"), Qt::Key_A);
    QCOMPARE(m.IdleSeconds, 0);
    QCOMPARE(m.PacketSeconds, 0);
    QCOMPARE(f.control<QLineEdit>("TfmMain", "edInput")->text(), QStringLiteral("a"));
}

QTEST_MAIN(TestDesk)
#include "tst_desk.moc"
