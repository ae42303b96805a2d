// The frame of the main window: the left panel and its pages, the desk
// entry's hover look, the editing buttons and the window titles.
#include "config/TfmSettings.h"
#include "core/Messages.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/ColourButton.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

class TestFrame : public QObject
{
    Q_OBJECT
private slots:
    void entriesSwitchPages();
    void deskEntryHoverLook();
    void editingButtonsAndTitle();
};

void TestFrame::entriesSwitchPages()
{
    DeskFixture f;
    TfmMain& m = f.main();
    m.show();
    QVERIFY(f.control<QWidget>("TfmMain", "pMain")->isVisible());
    QVERIFY(!f.settings().isVisible());
    // Entries whose pages are not built are hidden; the desk and settings are there.
    QVERIFY(f.control<QPushButton>("TfmMain", "SpeedButton5")->isVisibleTo(&m));
    QVERIFY(f.control<QPushButton>("TfmMain", "SpeedButton4")->isVisibleTo(&m));
    QVERIFY(f.control<QPushButton>("TfmMain", "SpeedButton3")->isVisibleTo(&m));
    QVERIFY(f.control<QPushButton>("TfmMain", "btWriteOff")->isVisibleTo(&m)); // the administrator signed in
    QVERIFY(f.control<QPushButton>("TfmMain", "btSettings")->isVisibleTo(&m));

    QTest::mouseClick(f.control<QPushButton>("TfmMain", "btSettings"), Qt::LeftButton);
    QVERIFY(f.settings().isVisible());
    QVERIFY(!f.control<QWidget>("TfmMain", "pMain")->isVisible());
    QTest::mouseClick(f.control<QPushButton>("TfmMain", "SpeedButton3"), Qt::LeftButton);
    QVERIFY(f.window<QWidget>("TfmReport").isVisible());
    QVERIFY(!f.settings().isVisible());
    QTest::mouseClick(f.control<QPushButton>("TfmMain", "SpeedButton5"), Qt::LeftButton);
    QVERIFY(f.window<QWidget>("TfmUsers").isVisible());
    QVERIFY(!f.window<QWidget>("TfmReport").isVisible());
    QVERIFY(!f.settings().isVisible());
    QTest::mouseClick(f.control<ColourButton>("TfmMain", "Panel4"), Qt::LeftButton);
    QVERIFY(f.control<QWidget>("TfmMain", "pMain")->isVisible());
    QVERIFY(!f.settings().isVisible());
    QVERIFY(!f.window<QWidget>("TfmUsers").isVisible());
    QVERIFY(f.control<QLineEdit>("TfmMain", "edInput")->hasFocus() || !m.isActiveWindow());
}

void TestFrame::deskEntryHoverLook()
{
    DeskFixture f;
    ColourButton* entry = f.control<ColourButton>("TfmMain", "Panel4");
    QCOMPARE(entry->colour(), QColor(45, 172, 61));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(entry, &enter);
    QCOMPARE(entry->colour(), QColor(52, 203, 71));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(entry, &leave);
    QCOMPARE(entry->colour(), QColor(45, 172, 61));
    QTest::mousePress(entry, Qt::LeftButton);
    QVERIFY(entry->isSunken());
    QTest::mouseRelease(entry, Qt::LeftButton);
    QVERIFY(!entry->isSunken());
}

void TestFrame::editingButtonsAndTitle()
{
    DeskFixture f;
    TfmMain& m = f.main();
    // The editing buttons of other windows follow the mode the sign-in sets.
    const QList<QPushButton*> editing{
        f.control<QPushButton>("TfmTools", "Button2"), f.control<QPushButton>("TfmTools", "Button3"),
        f.control<QPushButton>("TfmUsers", "Button2"), f.control<QPushButton>("TfmUsers", "Button3")};
    f.session().setAccessMode(Session::AccessMode::Restricted);
    for (QPushButton* button : editing)
        QVERIFY(!button->isEnabled());
    QCOMPARE(m.windowTitle(),
             QStringLiteral("Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!"));
    f.session().setAccessMode(Session::AccessMode::Administrator);
    for (QPushButton* button : editing)
        QVERIFY(button->isEnabled());
    QCOMPARE(m.windowTitle(), QStringLiteral("Выдача инструмента | АДМИНИСТРАТОР"));
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
