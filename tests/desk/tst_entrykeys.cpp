// The left panel from the keyboard: keys a scanner never types bring up its
// pages from the desk's entry box and from every page, as far as the
// signed-in user may go; the tooltips name the keys.
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

namespace {

QWidget* shownPage(const DeskFixture& f)
{
    return f.control<QStackedWidget>("TfmMain", "pConteiner")->currentWidget();
}

// The main window on screen and active, the desk showing, the entry box focused.
QLineEdit* deskInFront(DeskFixture& f)
{
    f.app().show();
    if (!QTest::qWaitForWindowActive(&f.main()))
        qFatal("the main window did not become active");
    f.control<QPushButton>("TfmMain", "Panel4")->click();
    auto* entry = f.control<QLineEdit>("TfmMain", "edInput");
    if (!entry->hasFocus())
        qFatal("the entry box has no focus at the desk");
    return entry;
}

} // namespace

class TestEntryKeys : public QObject
{
    Q_OBJECT
private slots:
    void keysReachPagesFromTheEntryBox_data();
    void keysReachPagesFromTheEntryBox();
    void operatorCannotReachAdministratorPages();
    void tooltipsNameKeysAndButtons_data();
    void tooltipsNameKeysAndButtons();
};

void TestEntryKeys::keysReachPagesFromTheEntryBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("page");
    QTest::newRow("F3 recipients") << int(Qt::Key_F3) << "TfmUsers";
    QTest::newRow("F4 tools") << int(Qt::Key_F4) << "TfmTools";
    QTest::newRow("F5 reports") << int(Qt::Key_F5) << "TfmReport";
    QTest::newRow("F6 write-off") << int(Qt::Key_F6) << "TfmWriteOff";
    QTest::newRow("F7 settings") << int(Qt::Key_F7) << "TfmSettings";
}

void TestEntryKeys::keysReachPagesFromTheEntryBox()
{
    QFETCH(int, key);
    QFETCH(QString, page);
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    QLineEdit* entry = deskInFront(f);
    QTest::keyClicks(entry, QStringLiteral("U1"));
    QTest::keyClick(entry, Qt::Key(key));
    QCOMPARE(shownPage(f)->objectName(), page);
    // The key is not typed into the box, and is no scan.
    QCOMPARE(entry->text(), QStringLiteral("U1"));
    QVERIFY(!f.desk().recipientSelected());

    // Back to the desk from the page, whatever has the focus there.
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : shownPage(f), Qt::Key_F2);
    QCOMPARE(shownPage(f), f.control<QWidget>("TfmMain", "pMain"));
    QVERIFY(entry->hasFocus());
}

void TestEntryKeys::operatorCannotReachAdministratorPages()
{
    DeskFixture f({}, DeskFixture::SignIn::Operator);
    QVERIFY(f.started());
    QLineEdit* entry = deskInFront(f);
    QWidget* desk = f.control<QWidget>("TfmMain", "pMain");
    for (const Qt::Key key : {Qt::Key_F6, Qt::Key_F7}) {
        QTest::keyClick(entry, key);
        QCOMPARE(shownPage(f), desk);
    }
    // The pages open to the operator still answer.
    QTest::keyClick(entry, Qt::Key_F4);
    QCOMPARE(shownPage(f)->objectName(), QStringLiteral("TfmTools"));
}

void TestEntryKeys::tooltipsNameKeysAndButtons_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("recipientsTip");
    QTest::addColumn<QString>("clearRecipientWord");
    QTest::newRow("RU") << "RU" << QStringLiteral("Получатели (F3)") << QStringLiteral("получател");
    QTest::newRow("EN") << "EN" << QStringLiteral("Users (F3)") << QStringLiteral("user");
}

void TestEntryKeys::tooltipsNameKeysAndButtons()
{
    QFETCH(QString, language);
    QFETCH(QString, recipientsTip);
    QFETCH(QString, clearRecipientWord);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    QVERIFY(f.started());
    const char* entries[] = {"Panel4", "SpeedButton5", "SpeedButton4", "SpeedButton3", "btWriteOff", "btSettings"};
    for (int i = 0; i < 6; ++i) {
        const auto* entry = f.control<QPushButton>("TfmMain", entries[i]);
        QCOMPARE(entry->toolTip(), entry->text() + QStringLiteral(" (F%1)").arg(i + 2));
    }
    QCOMPARE(f.control<QPushButton>("TfmMain", "SpeedButton5")->toolTip(), recipientsTip);

    const QString clearRecipient = f.control<QToolButton>("TfmMain", "SpeedButton6")->toolTip();
    const QString clearTool = f.control<QToolButton>("TfmMain", "SpeedButton7")->toolTip();
    QVERIFY2(clearRecipient.contains(clearRecipientWord, Qt::CaseInsensitive), qPrintable(clearRecipient));
    QVERIFY(!clearTool.isEmpty() && clearTool != clearRecipient);
    QVERIFY(f.control<QPushButton>("TfmMain", "btPacket")->toolTip().startsWith(f.session().texts().rsBatchIssue));
}

QTEST_MAIN(TestEntryKeys)
#include "tst_entrykeys.moc"
