// Batch issue and the desk's two one-second timers, driven tick by tick.
#include "config/TfmSettings.h"
#include "desk/TfmMain.h"
#include "platform/DesktopWindows.h"
#include "support/DeskFixture.h"
#include "widgets/ColourButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

class TestTimers : public QObject
{
    Q_OBJECT
private slots:
    void idleClearOnTheTickAfterTheLimit_data();
    void idleClearOnTheTickAfterTheLimit();
    void keyRestartsTheIdleCount();
    void batchButtonLooks();
    void batchControlsFollowTheCore_data();
    void batchControlsFollowTheCore();
    void batchCountsDownAndEnds();
    void keyRestartsTheBatchCountdown();
    void batchIssuesSeveralToolsToOneRecipient();
    void restoreTick_data();
    void restoreTick();
    void restoreRepeatsWhileInBackground();
    void timersStartWhenShown();
    void windowsToMinimiseChoice();
};

namespace {

void setLimits(DeskFixture& f, int idle, int batch)
{
    f.control<QSpinBox>("TfmSettings", "edTimer")->setValue(idle);
    f.control<QSpinBox>("TfmSettings", "edPacketTimer")->setValue(batch);
}

} // namespace

void TestTimers::idleClearOnTheTickAfterTheLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("5") << 5;
    QTest::newRow("1") << 1;
}

void TestTimers::idleClearOnTheTickAfterTheLimit()
{
    QFETCH(int, limit);
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, limit, 20);
    f.addRecipient("U1");
    f.addRecipient("U2");
    f.scan("U1"); // the key resets the count
    for (int tick = 1; tick <= limit; ++tick) {
        m.TimerTimer();
        QVERIFY2(m.recipientSelected(), qPrintable(QString::number(tick)));
    }
    m.TimerTimer(); // tick N + 1
    QVERIFY(!m.recipientSelected());

    // Then every N ticks while no key comes.
    m.SpeedButton6Click();
    f.desk().qSearch_U.setStatement(Select(QStringLiteral("Users")).where(QStringLiteral("ID_User='U2'")));
    f.desk().qSearch_U.open();
    for (int tick = 1; tick < limit; ++tick) {
        m.TimerTimer();
        QVERIFY(m.recipientSelected());
    }
    m.TimerTimer();
    QVERIFY(!m.recipientSelected());
}

void TestTimers::keyRestartsTheIdleCount()
{
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, 3, 20);
    f.addTool("T1");
    f.scan("T1");
    m.TimerTimer();
    m.TimerTimer();
    m.TimerTimer();
    QTest::keyClick(f.control<QLineEdit>("TfmMain", "edInput"), Qt::Key_X); // any key counts
    m.TimerTimer();
    m.TimerTimer();
    m.TimerTimer();
    QVERIFY(m.toolSelected());
    m.TimerTimer();
    QVERIFY(!m.toolSelected());
}

void TestTimers::batchButtonLooks()
{
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, 30, 20);
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->text(), QStringLiteral("Пакетная выдача"));
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->colour(), QColor(248, 148, 110));
    QVERIFY(!DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->isVisibleTo(&m));
    QTest::mouseClick(f.control<ColourButton>("TfmMain", "btPacket"), Qt::LeftButton);
    QVERIFY(m.batchIssue());
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->text(), QStringLiteral("Завершить"));
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->colour(), QColor(45, 172, 61));
    QVERIFY(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->isVisibleTo(&m));
    QCOMPARE(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text(),
             QStringLiteral("20"));
    QCOMPARE(f.control<QLabel>("TfmMain", "Label9")->text(), QStringLiteral("Пакетная выдача инструмента"));
    QTest::mouseClick(f.control<ColourButton>("TfmMain", "btPacket"), Qt::LeftButton);
    QVERIFY(!m.batchIssue());
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->text(), QStringLiteral("Пакетная выдача"));
    QCOMPARE(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text(),
             QStringLiteral("0"));
    QVERIFY(!DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->isVisibleTo(&m));
    QCOMPARE(f.control<QLabel>("TfmMain", "Label9")->text(), QStringLiteral("Выдача инструмента"));
}

void TestTimers::batchControlsFollowTheCore_data()
{
    QTest::addColumn<QString>("changedBy");
    QTest::newRow("batch button") << "btPacket";
    QTest::newRow("check box") << "cbPacketIssued";
    QTest::newRow("core") << "";
}

// Whoever switches batch issue, the desk holds it and every control shows it.
void TestTimers::batchControlsFollowTheCore()
{
    QFETCH(QString, changedBy);
    DeskFixture f;
    setLimits(f, 30, 20);
    auto* button = f.control<ColourButton>("TfmMain", "btPacket");
    auto* box = f.control<QCheckBox>("TfmMain", "cbPacketIssued");
    for (const bool on : {true, false}) {
        if (changedBy == u"btPacket")
            button->click();
        else if (changedBy == u"cbPacketIssued")
            box->setChecked(on);
        else
            f.desk().setBatch(on);
        QCOMPARE(f.desk().batch(), on);
        QCOMPARE(box->isChecked(), on);
        QCOMPARE(button->text(), on ? QStringLiteral("Завершить") : QStringLiteral("Пакетная выдача"));
        QCOMPARE(button->colour(), on ? QColor(45, 172, 61) : QColor(248, 148, 110));
        QCOMPARE(f.control<QLabel>("TfmMain", "Label9")->text(),
                 on ? QStringLiteral("Пакетная выдача инструмента") : QStringLiteral("Выдача инструмента"));
        QCOMPARE(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text(),
                 on ? QStringLiteral("20") : QStringLiteral("0"));
    }
}

void TestTimers::batchCountsDownAndEnds()
{
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, 100, 4);
    m.btPacketClick();
    QStringList shown{DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text()};
    for (int tick = 1; tick <= 4; ++tick) {
        m.TimerTimer();
        shown << DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text();
        QVERIFY(m.batchIssue());
    }
    QCOMPARE(shown, (QStringList{"4", "3", "2", "1", "0"}));
    m.TimerTimer(); // tick M + 1
    QVERIFY(!m.batchIssue());
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->text(), QStringLiteral("Пакетная выдача"));
    QCOMPARE(f.control<QLabel>("TfmMain", "Label9")->text(), QStringLiteral("Выдача инструмента"));
    QVERIFY(!DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->isVisibleTo(&m));
}

void TestTimers::keyRestartsTheBatchCountdown()
{
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, 100, 3);
    m.btPacketClick();
    m.TimerTimer();
    m.TimerTimer();
    QCOMPARE(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text(),
             QStringLiteral("1"));
    QTest::keyClick(f.control<QLineEdit>("TfmMain", "edInput"), Qt::Key_A);
    m.TimerTimer();
    QCOMPARE(DeskFixture::find<QLabel>(*f.control<QWidget>("TfmMain", "pMain"), "lbPacketTimer")->text(),
             QStringLiteral("2"));
    m.TimerTimer();
    m.TimerTimer();
    QVERIFY(m.batchIssue());
    m.TimerTimer();
    QVERIFY(!m.batchIssue());
}

void TestTimers::batchIssuesSeveralToolsToOneRecipient()
{
    DeskFixture f;
    TfmMain& m = f.main();
    setLimits(f, 2, 100);
    f.control<QCheckBox>("TfmMain", "cbClear")->setChecked(true);
    const qint64 key = f.addRecipient("U1");
    for (const char* t : {"T1", "T2", "T3"})
        f.addTool(t);
    m.btPacketClick();
    f.scan("U1");
    for (const char* t : {"T1", "T2", "T3"}) {
        f.scan(t);
        QVERIFY(m.recipientSelected());
        QVERIFY(!m.toolSelected());
    }
    QCOMPARE(f.journalCount(), 3);
    for (const char* t : {"T1", "T2", "T3"})
        QCOMPARE(f.toolValue(t, "OwnerID").toString(), QString::number(key));
    // The idle clear empties only the tool in batch issue.
    f.scan("T1");
    QCOMPARE(f.journalCount(), 4); // returned: the recipient stayed
    m.SpeedButton7Click();
    f.desk().qSearch_T.setStatement(Select(QStringLiteral("Tools")).where(QStringLiteral("ID_Tool='T2'")));
    f.desk().qSearch_T.open();
    m.TimerTimer();
    m.TimerTimer();
    m.TimerTimer();
    QVERIFY(!m.toolSelected());
    QVERIFY(m.recipientSelected());
    // Ending the batch does not empty the recipient; the next idle clear does.
    m.btPacketClick();
    QVERIFY(m.recipientSelected());
    m.TimerTimer();
    m.TimerTimer();
    QVERIFY(!m.recipientSelected());
}

void TestTimers::restoreTick_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("optionOn");
    QTest::addColumn<bool>("background");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<int>("restores");
    QTest::newRow("before sign-in nothing") << false << true << true << false << 0;
    QTest::newRow("option off nothing") << true << false << true << false << 0;
    QTest::newRow("in front: no restore") << true << true << false << false << 0;
    QTest::newRow("in the background") << true << true << true << false << 1;
    QTest::newRow("minimised") << true << true << false << true << 1;
}

void TestTimers::restoreTick()
{
    QFETCH(bool, started);
    QFETCH(bool, optionOn);
    QFETCH(bool, background);
    QFETCH(bool, minimised);
    QFETCH(int, restores);
    DeskFixture f;
    TfmMain& m = f.main();
    f.control<QSpinBox>("TfmSettings", "edShowTimer")->setValue(3);
    f.control<QCheckBox>("TfmSettings", "cbShowMainForm")->setChecked(optionOn);
    m.FormStarted = started;
    f.control<QPushButton>("TfmMain", "btSettings")->click();
    f.fakes().windows.background = background;
    f.fakes().windows.minimised = minimised;
    m.tmrShowMainFormTimer();
    m.tmrShowMainFormTimer();
    QCOMPARE(f.fakes().windows.restoreCalls, 0);
    m.tmrShowMainFormTimer();
    QCOMPARE(f.fakes().windows.restoreCalls, restores);
    QCOMPARE(f.fakes().windows.minimiseOthersCalls, restores);
    QCOMPARE(f.control<QStackedWidget>("TfmMain", "pConteiner")->currentWidget()
                 == f.control<QWidget>("TfmMain", "pMain"),
             restores > 0);
    QCOMPARE(m.RestoreSeconds, restores > 0 ? 3 : 0);
}

void TestTimers::restoreRepeatsWhileInBackground()
{
    DeskFixture f;
    TfmMain& m = f.main();
    f.control<QSpinBox>("TfmSettings", "edShowTimer")->setValue(2);
    f.control<QCheckBox>("TfmSettings", "cbShowMainForm")->setChecked(true);
    f.fakes().windows.background = true;
    for (int i = 0; i < 4; ++i)
        m.tmrShowMainFormTimer();
    QCOMPARE(f.fakes().windows.restoreCalls, 3); // ticks 2, 3 and 4
    f.fakes().windows.background = false;
    m.tmrShowMainFormTimer();
    QCOMPARE(m.RestoreSeconds, 0);
}

void TestTimers::timersStartWhenShown()
{
    TestData data;
    ProgramRun run(data.folder(), DeskFixture::SignIn::Operator, true);
    QVERIFY(run.started);
    QVERIFY(!run.app.main()->idleTimer().isActive());
    run.app.show();
    QVERIFY(run.app.main()->idleTimer().isActive());
    QVERIFY(run.app.main()->restoreTimer().isActive());
    QCOMPARE(run.app.main()->idleTimer().interval(), 1000);
    QCOMPARE(run.app.main()->restoreTimer().interval(), 1000);
    run.app.main()->close();
}

void TestTimers::windowsToMinimiseChoice()
{
    const QList<DesktopWindow> windows{
        {1, true, false, "Editor"},  // another program's main window
        {2, true, true, "Save as"},  // its dialog: goes with its owner
        {3, false, false, "Hidden"}, // not shown
        {4, true, false, ""},        // no title
        {5, true, false, "Desk"},    // this program's own
    };
    QCOMPARE(windowsToMinimise(windows, {5}), (QList<quint64>{1}));
}

QTEST_MAIN(TestTimers)
#include "tst_timers.moc"
