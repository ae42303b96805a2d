// The desk never drops a scan: the entry box keeps the keyboard, Tab ends a
// code as Enter does, codes typed under the other keyboard layout are found,
// a code that does nothing says so, and a failed event says it was not
// recorded. When idle, DB.mdb alone holds every event.
#include "core/KeyboardLayout.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "support/JournalRowsInFile.h"
#include "widgets/ColourButton.h"
#include "widgets/DbGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QLineEdit* entry(DeskFixture& f)
{
    return f.control<QLineEdit>("TfmMain", "edInput");
}

QString scanMessage(DeskFixture& f)
{
    return f.control<QLabel>("TfmMain", "lbScanMessage")->text();
}

void scanEndedBy(DeskFixture& f, const QString& code, Qt::Key end)
{
    QTest::keyClicks(entry(f), code);
    QTest::keyClick(entry(f), end);
}

} // namespace

class TestScanning : public QObject
{
    Q_OBJECT
private slots:
    void focusReturnsAfterClicks_data();
    void focusReturnsAfterClicks();
    void tabEndsACode();
    void emptyCodeIgnored_data();
    void emptyCodeIgnored();
    void otherKeyboardLayout_data();
    void otherKeyboardLayout();
    void layoutMapsBothWays_data();
    void layoutMapsBothWays();
    void codeThatDoesNothingSaysSo();
    void busyDatabaseEventNotRecorded();
    void idleDeskLeavesEveryEventInTheFile();
};

void TestScanning::focusReturnsAfterClicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("batch issue") << "btPacket";
    QTest::newRow("clear fields") << "cbClear";
    QTest::newRow("recipient -") << "SpeedButton6";
    QTest::newRow("tool -") << "SpeedButton7";
    QTest::newRow("journal") << "grid_History";
}

void TestScanning::focusReturnsAfterClicks()
{
    QFETCH(QString, control);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    TfmMain& m = f.main();
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    f.scan(QStringLiteral("U1")); // a journal row to click on
    f.scan(QStringLiteral("T1"));
    auto* target = f.control<QWidget>("TfmMain", qPrintable(control));
    QWidget* clicked = target;
    if (auto* grid = qobject_cast<DbGrid*>(target))
        clicked = grid->viewport();
    QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY2(entry(f)->hasFocus(),
             qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                    : QStringLiteral("nothing")));
    // The next scan lands in the box.
    const int before = f.journalCount();
    f.desk().clearRecipient();
    f.desk().clearTool();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("U1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("T1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(f.journalCount(), before + 1);
}

void TestScanning::tabEndsACode()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    scanEndedBy(f, QStringLiteral("U1"), Qt::Key_Tab);
    QVERIFY(entry(f)->text().isEmpty());
    scanEndedBy(f, QStringLiteral("T1"), Qt::Key_Tab);
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue(QStringLiteral("T1"), QStringLiteral("Passed")).toInt(), 0);
}

void TestScanning::emptyCodeIgnored_data()
{
    // Steps: a code typed, or a line end: "CR" (Return), "Enter" (keypad),
    // "LF" (Ctrl+J, as a scanner types it), "Tab".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("clearFields");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("events");
    QTest::addColumn<bool>("recipientShown");
    QTest::addColumn<bool>("toolShown");
    QTest::newRow("Enter on an empty box") << QStringList{"CR"} << true << "" << 0 << false << false;
    QTest::newRow("Tab on an empty box") << QStringList{"Tab", "Tab"} << true << "" << 0 << false << false;
    QTest::newRow("CR+LF after a code not found")
        << QStringList{"XYZ", "CR", "LF"} << true << "Код не найден: XYZ" << 0 << false << false;
    QTest::newRow("Return and keypad Enter")
        << QStringList{"XYZ", "CR", "Enter"} << true << "Код не найден: XYZ" << 0 << false << false;
    QTest::newRow("CR+LF ending each code")
        << QStringList{"U1", "CR", "LF", "T1", "CR", "LF"} << true << "" << 1 << false << false;
    QTest::newRow("LF alone ends a code") << QStringList{"U1", "LF", "T1", "LF"} << true << "" << 1 << false << false;
    QTest::newRow("CR+LF, fields kept after the event")
        << QStringList{"U1", "CR", "LF", "T1", "CR", "LF"} << false << "" << 1 << true << true;
    QTest::newRow("Enter after the recipient")
        << QStringList{"U1", "CR", "CR", "Tab"} << true << "" << 0 << true << false;
}

// An empty code is no scan: no message, nothing looked up or recorded, the
// selection and the last scan's note stay, and the box keeps the keyboard.
void TestScanning::emptyCodeIgnored()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, clearFields);
    QFETCH(QString, message);
    QFETCH(int, events);
    QFETCH(bool, recipientShown);
    QFETCH(bool, toolShown);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(clearFields);
    TfmMain& m = f.main();
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    entry(f)->setFocus();
    // Without a code the line stays as it was (after sign-in: the delivered
    // password's reminder).
    const QString before = scanMessage(f);
    const QStringList endings{"CR", "Enter", "Tab", "LF"};
    const bool anyCode = std::any_of(steps.cbegin(), steps.cend(),
                                     [&](const QString& step) { return !endings.contains(step); });
    for (const QString& step : std::as_const(steps)) {
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused, entry(f));
        if (step == u"CR")
            QTest::keyClick(focused, Qt::Key_Return);
        else if (step == u"Enter")
            QTest::keyClick(focused, Qt::Key_Enter);
        else if (step == u"Tab")
            QTest::keyClick(focused, Qt::Key_Tab);
        else if (step == u"LF")
            QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_J, QStringLiteral("\n"), Qt::ControlModifier);
        else
            QTest::keyClicks(focused, step);
    }
    QCOMPARE(QApplication::focusWidget(), entry(f));
    QVERIFY(entry(f)->text().isEmpty());
    QCOMPARE(scanMessage(f), anyCode ? message : before);
    QCOMPARE(f.journalCount(), events);
    QCOMPARE(f.desk().recipientSelected(), recipientShown);
    QCOMPARE(f.desk().toolSelected(), toolShown);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestScanning::otherKeyboardLayout_data()
{
    QTest::addColumn<QStringList>("recipients");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selected"); // the recipient's code, or empty for none
    QTest::newRow("Latin code under the Russian layout") << QStringList{"U001"} << "Г001"
                                                         << "U001";
    QTest::newRow("Cyrillic code under the Latin layout") << QStringList{"ЦЕН-1"} << "WTY-1"
                                                          << "ЦЕН-1";
    QTest::newRow("lower case too") << QStringList{"U001"} << "г001"
                                    << "U001";
    QTest::newRow("a code that matches as typed wins") << QStringList{"U001", "Г001"} << "Г001"
                                                       << "Г001";
    QTest::newRow("neither") << QStringList{"U001"} << "Ж001" << QString();
}

void TestScanning::otherKeyboardLayout()
{
    QFETCH(QStringList, recipients);
    QFETCH(QString, typed);
    QFETCH(QString, selected);
    DeskFixture f;
    for (const QString& code : recipients)
        f.addRecipient(code);
    f.scan(typed);
    QCOMPARE(f.desk().recipientSelected(), !selected.isEmpty());
    if (!selected.isEmpty())
        QCOMPARE(f.desk().qSearch_U.text(QStringLiteral("ID_User")), selected);
}

void TestScanning::layoutMapsBothWays_data()
{
    QTest::addColumn<QString>("latin");
    QTest::addColumn<QString>("cyrillic");
    QTest::newRow("letters and digits") << "U001"
                                        << "Г001";
    QTest::newRow("lower case") << "qwerty"
                                << "йцукен";
    QTest::newRow("punctuation keys") << "[];',.`"
                                      << "хъжэбюё";
    QTest::newRow("shifted keys") << "{}:\"<>~"
                                  << "ХЪЖЭБЮЁ";
    QTest::newRow("blanks, dashes and digits stay") << "- 1_2"
                                                    << "- 1_2";
}

void TestScanning::layoutMapsBothWays()
{
    QFETCH(QString, latin);
    QFETCH(QString, cyrillic);
    QCOMPARE(asCyrillicLayout(latin), cyrillic);
    QCOMPARE(asLatinLayout(cyrillic), latin);
}

void TestScanning::codeThatDoesNothingSaysSo()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T9"));
    f.markWrittenOff(QStringLiteral("T9"));
    f.scan(QStringLiteral("XYZ"));
    QCOMPARE(scanMessage(f), QStringLiteral("Код не найден: XYZ"));
    f.scan(QStringLiteral("U1"));
    QVERIFY(scanMessage(f).isEmpty()); // until the next scan
    f.scan(QStringLiteral("T9"));
    QCOMPARE(scanMessage(f), QStringLiteral("Инструмент списан: T9"));
    QVERIFY(!f.desk().toolSelected());
    QVERIFY(f.fakes().dialogs.shown.isEmpty()); // nothing to dismiss

    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    f.scan(QStringLiteral("XYZ"));
    QCOMPARE(scanMessage(f), QStringLiteral("Code not found: XYZ"));
}

void TestScanning::busyDatabaseEventNotRecorded()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    if (f.db().dialect().isServer()) {
        // Another desk is recording this tool: its row stays locked longer than this desk waits.
        f.db().command(QStringLiteral("SET lock_timeout = 50"));
        Connection other;
        other.open(f.db().description());
        Connection::Transaction hold(other);
        other.scalar(QStringLiteral("SELECT ID FROM Tools WHERE ID_Tool='T1' FOR UPDATE"));
        f.scan(QStringLiteral("U1"));
        f.scan(QStringLiteral("T1"));
    } else {
        f.db().command(QStringLiteral("PRAGMA busy_timeout=50")); // the other desk holds it longer than that
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other desk"));
        other.setDatabaseName(f.data().dbPath());
        QVERIFY(other.open());
        QSqlQuery hold(other);
        QVERIFY(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
        f.scan(QStringLiteral("U1"));
        f.scan(QStringLiteral("T1"));
        QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other desk"));
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY2(f.deskMessage().startsWith(QStringLiteral("Выдача или возврат НЕ записаны: база данных занята")),
             qPrintable(f.deskMessage()));
    QVERIFY(f.deskStandingMessage().isEmpty()); // busy passes: no standing line
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue(QStringLiteral("T1"), QStringLiteral("Passed")).toInt(), 1);

    // The storekeeper scans the pair again, and it records.
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue(QStringLiteral("T1"), QStringLiteral("Passed")).toInt(), 0);
}

void TestScanning::idleDeskLeavesEveryEventInTheFile()
{
    DeskFixture f;
    if (f.server())
        QSKIP("the server keeps its own files: nothing to write back");
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.addTool(QStringLiteral("T2"));
    TfmMain& m = f.main();
    QTemporaryDir copies;
    auto copyOfTheFileAlone = [&](const QString& name) {
        const QString copy = copies.filePath(name);
        QFile::copy(f.data().dbPath(), copy);
        return journalRowsIn(copy);
    };
    m.TimerTimer();
    m.TimerTimer();
    m.TimerTimer(); // whatever the start left in the log
    for (const char* code : {"U1", "T1", "U1", "T2"})
        f.scan(QLatin1String(code));
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(copyOfTheFileAlone(QStringLiteral("busy.mdb")), 0); // the events are still in the log
    m.TimerTimer();
    m.TimerTimer();
    QCOMPARE(copyOfTheFileAlone(QStringLiteral("two-seconds.mdb")), 0); // not yet idle
    m.TimerTimer();
    QCOMPARE(copyOfTheFileAlone(QStringLiteral("idle.mdb")), 2);
}

QTEST_MAIN(TestScanning)
#include "tst_scanning.moc"
