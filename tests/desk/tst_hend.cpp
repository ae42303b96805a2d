// Manual issue from the tool card: a recipient picked from the list or typed,
// the card's tool issued through the desk's recording, the card refreshed.
#include "config/TfmCFG.h"
#include "core/Messages.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmHend.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"
#include "widgets/DbGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

constexpr int kStillOpen = -1; // the fake's result while a script runs

// The card of a tool as the tool list opens it.
TfmCard_T& openCard(DeskFixture& f, const QString& code)
{
    f.session().qTools.reopen();
    f.session().qTools.locate(QStringLiteral("ID_Tool"), code);
    auto& card = f.window<TfmCard_T>("TfmCard_T");
    card.loadCurrentTool();
    return card;
}

int rowOf(TfmHend& hend, const QString& code)
{
    Query& q = hend.Query;
    for (int row = 0; row < q.fetchedCount(); ++row) {
        if (q.value(row, q.fieldIndex(QStringLiteral("ID_User"))).toString() == code)
            return row;
    }
    return -1;
}

// Runs the manual issue window from the card's button: the script gets the
// shown window, as the storekeeper would.
void runHend(DeskFixture& f, TfmCard_T& card, const std::function<void(TfmHend&)>& script)
{
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        auto& hend = static_cast<TfmHend&>(window);
        hend.FormShow();
        script(hend);
    });
    DeskFixture::find<QPushButton>(card, "btHend")->click();
}

} // namespace

class TestHend : public QObject
{
    Q_OBJECT
private slots:
    void choosingRowFillsCode();
    void nothingChosenOnOpening();
    void writtenOffToolNamed_data();
    void writtenOffToolNamed();
    void issuesToChosenRecipient_data();
    void issuesToChosenRecipient();
    void notFoundKeepsWindowOpen_data();
    void notFoundKeepsWindowOpen();
    void noRecipientsDoesNothing();
    void boxEmptyEachOpening();
    void toolIssuedElsewhereIsNotTakenBack();
    void accessibleInBothLanguages();
    void clearButtonShowsItsIconOnScreen();
};

void TestHend::choosingRowFillsCode()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов"));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров"));
    TfmHend& hend = f.window<TfmHend>("TfmHend");
    hend.FormShow();
    hend.show();
    QCOMPARE(hend.Query.recordCount(), 2);
    QVERIFY(DeskFixture::find<QLineEdit>(hend, "edID")->text().isEmpty()); // loading the list chooses nobody

    const int row = rowOf(hend, QStringLiteral("U2"));
    DeskFixture::find<DbGrid>(hend, "DBGrid1")
        ->setCurrentIndex(DeskFixture::find<DbGrid>(hend, "DBGrid1")->model()->index(row, 2)); // by keyboard
    QCOMPARE(DeskFixture::find<QLineEdit>(hend, "edID")->text(), QStringLiteral("U2"));
    DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("typed"));
    hend.DBGrid1CellClick(); // a click on the row already current
    QCOMPARE(DeskFixture::find<QLineEdit>(hend, "edID")->text(), QStringLiteral("U2"));
    DeskFixture::find<QToolButton>(hend, "btClear")->click();
    QVERIFY(DeskFixture::find<QLineEdit>(hend, "edID")->text().isEmpty());
    hend.FormShow();
    QVERIFY(DeskFixture::find<QLineEdit>(hend, "edID")->text().isEmpty());
}

void TestHend::nothingChosenOnOpening()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addRecipient(QStringLiteral("U2"));
    TfmHend& hend = f.window<TfmHend>("TfmHend");
    auto* grid = DeskFixture::find<DbGrid>(hend, "DBGrid1");
    auto* box = DeskFixture::find<QLineEdit>(hend, "edID");
    for (int showing = 0; showing < 2; ++showing) {
        hend.FormShow();
        hend.show();
        QVERIFY(!grid->currentIndex().isValid());
        QVERIFY(grid->selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(box->text().isEmpty());
        // The first row is chosen like any other.
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QCOMPARE(box->text(), hend.Query.value(0, hend.Query.fieldIndex(QStringLiteral("ID_User"))).toString());
        box->clear();
    }
}

void TestHend::writtenOffToolNamed_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::addColumn<QString>("message");
    QTest::newRow("RU") << 0 << "Инструмент списан!";
    QTest::newRow("EN") << 1 << "The tool is written off!";
}

void TestHend::writtenOffToolNamed()
{
    QFETCH(int, languageIndex);
    QFETCH(QString, message);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(languageIndex);
    // Written off at another desk while the card is open.
    f.markWrittenOff(QStringLiteral("T1"));
    int result = 0;
    runHend(f, card, [&](TfmHend& hend) {
        DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("U1"));
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
        result = hend.result();
    });
    QCOMPARE(result, kStillOpen);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{message});
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
}

void TestHend::issuesToChosenRecipient_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");
    QTest::newRow("RU") << 0 << "Выдан"
                        << "Ручная выдача: Инструмент выдан!";
    QTest::newRow("EN") << 1 << "issued"
                        << "Manual Issue: Tool Issued!";
}

void TestHend::issuesToChosenRecipient()
{
    QFETCH(int, languageIndex);
    QFETCH(QString, operation);
    QFETCH(QString, message);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов"));
    const qint64 chosen = f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров"), QStringLiteral("Завод"));
    f.addTool(QStringLiteral("T1"), QStringLiteral("Пила"), QStringLiteral("Makita"), QStringLiteral("HS"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(languageIndex);
    card.showToolState(true);
    QVERIFY(DeskFixture::find<QPushButton>(card, "btHend")->isEnabled());
    f.fakes().clock.current = QDateTime(QDate(2026, 2, 3), QTime(8, 9, 10));

    int result = kStillOpen;
    runHend(f, card, [&](TfmHend& hend) {
        DeskFixture::find<DbGrid>(hend, "DBGrid1")
            ->setCurrentIndex(
                DeskFixture::find<DbGrid>(hend, "DBGrid1")->model()->index(rowOf(hend, QStringLiteral("U2")), 0));
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
        result = hend.result();
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.lastJournal("ID_U").toString(), QStringLiteral("U2"));
    QCOMPARE(f.lastJournal("ID_T").toString(), QStringLiteral("T1"));
    QCOMPARE(f.lastJournal("Operation").toString(), operation);
    QCOMPARE(f.lastJournal("FIO").toString(), QStringLiteral("Петров"));
    QCOMPARE(f.lastJournal("Organization").toString(), QStringLiteral("Завод"));
    QCOMPARE(f.lastJournal("Model").toString(), QStringLiteral("Makita HS"));
    QCOMPARE(f.lastJournal("ATime").toString(), QStringLiteral("08:09:10"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(chosen));
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{message});
    QVERIFY(f.fakes().sound.played.isEmpty());
    // The card and the desk's journal show the issue at once.
    QCOMPARE(card.q.fetchedCount(), 1);
    QCOMPARE(DeskFixture::find<DbGrid>(card, "DBGrid1")->queryModel()->displayText(0, 2), operation);
    QCOMPARE(DeskFixture::find<DbGrid>(card, "DBGrid1")->queryModel()->displayText(0, 1), QStringLiteral("08:09:10"));
    QCOMPARE(f.control<DbGrid>("TfmMain", "grid_History")->queryModel()->displayText(0, 2), QStringLiteral("Петров"));
    QVERIFY(DeskFixture::find<QPushButton>(card, "btReturn")->isEnabled());
    QVERIFY(!DeskFixture::find<QPushButton>(card, "btHend")->isEnabled());
}

void TestHend::notFoundKeepsWindowOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("toolCode");
    QTest::newRow("unknown recipient") << "nobody"
                                       << "T1";
    QTest::newRow("empty box") << ""
                               << "T1";
    QTest::newRow("code quoted") << "U1' OR '1'='1"
                                 << "T1";
    QTest::newRow("tool gone") << "U1"
                               << "T-missing";
}

void TestHend::notFoundKeepsWindowOpen()
{
    QFETCH(QString, typed);
    QFETCH(QString, toolCode);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    card.ID_ForHend = toolCode;

    int result = 0;
    QString left;
    runHend(f, card, [&](TfmHend& hend) {
        DeskFixture::find<QLineEdit>(hend, "edID")->setText(typed);
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
        result = hend.result();
        left = DeskFixture::find<QLineEdit>(hend, "edID")->text();
    });
    QCOMPARE(result, kStillOpen);
    QCOMPARE(left, typed);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{f.session().texts().rsUserIDNotFound});
    QCOMPARE(f.journalCount(), 0);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    QVERIFY(DeskFixture::find<QPushButton>(card, "btHend")->isEnabled());
    QVERIFY(!DeskFixture::find<QPushButton>(card, "btReturn")->isEnabled());
}

void TestHend::noRecipientsDoesNothing()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    int result = 0;
    runHend(f, card, [&](TfmHend& hend) {
        DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("U1"));
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
        result = hend.result();
    });
    QCOMPARE(result, kStillOpen);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList());
    QCOMPARE(f.journalCount(), 0);
}

void TestHend::boxEmptyEachOpening()
{
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    TfmHend& hend = f.window<TfmHend>("TfmHend");
    DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("left over"));
    QStringList seen;
    runHend(f, card, [&](TfmHend& h) {
        seen << DeskFixture::find<QLineEdit>(h, "edID")->text();
        DeskFixture::find<QLineEdit>(h, "edID")->setText(QStringLiteral("U1")); // typed, then the window is closed
    });
    runHend(f, card, [&](TfmHend& h) { seen << DeskFixture::find<QLineEdit>(h, "edID")->text(); });
    QCOMPARE(seen, (QStringList{QString(), QString()}));
    QCOMPARE(f.journalCount(), 0);
}

void TestHend::toolIssuedElsewhereIsNotTakenBack()
{
    DeskFixture f;
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addRecipient(QStringLiteral("U2"));
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    // Another desk issues the tool while the card is open.
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 1);
    f.fakes().dialogs.clear();

    int result = kStillOpen;
    runHend(f, card, [&](TfmHend& hend) {
        DeskFixture::find<QLineEdit>(hend, "edID")->setText(QStringLiteral("U2"));
        DeskFixture::find<QPushButton>(hend, "btGo")->click();
        result = hend.result();
    });
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{f.session().texts().rsIssuedToOther});
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(holder));
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(DeskFixture::find<QPushButton>(card, "btReturn")->isEnabled());
    QVERIFY(!DeskFixture::find<QPushButton>(card, "btHend")->isEnabled());
    QCOMPARE(card.q.fetchedCount(), 1);
}

void TestHend::accessibleInBothLanguages()
{
    DeskFixture f;
    TfmHend& hend = f.window<TfmHend>("TfmHend");
    QCOMPARE(hend.windowTitle(), QStringLiteral("Ручная выдача инструмента"));
    QCOMPARE(DeskFixture::find<QLineEdit>(hend, "edID")->accessibleName(), QStringLiteral("Введите ID получателя"));
    QCOMPARE(DeskFixture::find<DbGrid>(hend, "DBGrid1")->accessibleName(), hend.windowTitle());
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    QCOMPARE(DeskFixture::find<QLineEdit>(hend, "edID")->accessibleName(), QStringLiteral("Enter user ID"));
    QCOMPARE(DeskFixture::find<QToolButton>(hend, "btClear")->accessibleName(), QStringLiteral("Clear"));
    QCOMPARE(DeskFixture::find<DbGrid>(hend, "DBGrid1")->queryModel()->headerData(5, Qt::Horizontal).toString(),
             QStringLiteral("Supervisot"));
    QCOMPARE(DeskFixture::find<DbGrid>(hend, "DBGrid1")->accessibleName(), QStringLiteral("Manual tool issue"));
}

void TestHend::clearButtonShowsItsIconOnScreen()
{
    // The icon is looked up when the window first shows, not at start.
    DeskFixture f;
    TfmHend& hend = f.window<TfmHend>("TfmHend");
    auto* clear = DeskFixture::find<QToolButton>(hend, "btClear");
    QVERIFY(clear->icon().isNull());
    hend.show();
    QVERIFY(!clear->icon().isNull());
    hend.hide();
    hend.show();
    QVERIFY(!clear->icon().isNull());
}

QTEST_MAIN(TestHend)
#include "tst_hend.moc"
