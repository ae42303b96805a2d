// The frame of the main window: the left panel and its pages, the desk
// entry's hover look, the editing buttons and the window titles.
#include "config/Messages.h"
#include "config/TfmSettings.h"
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
    QVERIFY(m.pMain->isVisible());
    QVERIFY(!f.settings().isVisible());
    // Entries whose pages are not built are hidden; the desk and settings are there.
    QVERIFY(!m.SpeedButton5->isVisibleTo(&m));
    QVERIFY(m.SpeedButton4->isVisibleTo(&m));
    QVERIFY(!m.SpeedButton3->isVisibleTo(&m));
    QVERIFY(!m.btWriteOff->isVisibleTo(&m));
    QVERIFY(m.btSettings->isVisibleTo(&m));

    QTest::mouseClick(m.btSettings, Qt::LeftButton);
    QVERIFY(f.settings().isVisible());
    QVERIFY(!m.pMain->isVisible());
    QTest::mouseClick(m.Panel4, Qt::LeftButton);
    QVERIFY(m.pMain->isVisible());
    QVERIFY(!f.settings().isVisible());
    QVERIFY(m.edInput->hasFocus() || !m.isActiveWindow());
}

void TestFrame::deskEntryHoverLook()
{
    DeskFixture f;
    ColourButton* entry = f.main().Panel4;
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
    QPushButton editButton;
    m.registerAdminButton(&editButton);
    m.DisabledButtons(true);
    QVERIFY(!editButton.isEnabled());
    QCOMPARE(m.windowTitle(),
             QStringLiteral("Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!"));
    m.setWindowTitle(f.app().forms().texts->rsCaptionAdmin);
    m.DisabledButtons(false);
    QVERIFY(editButton.isEnabled());
    QCOMPARE(m.windowTitle(), QStringLiteral("Выдача инструмента | АДМИНИСТРАТОР")); // left alone
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
