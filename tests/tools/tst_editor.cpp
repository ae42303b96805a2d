// The tool editor reached through the tool list: the code and serial
// checks, identity, photos, dates, discarding, and the dictionaries' lists.
#include "core/Session.h"
#include "support/DeskFixture.h"
#include "tools/TfmDict.h"
#include "tools/TfmEditor_T.h"
#include "widgets/DbComboBox.h"
#include "widgets/DbEdit.h"
#include "widgets/ImageFolder.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

using Script = std::function<void(TfmEditor_T&)>;

// Runs Add (or Edit of the tool with the given code) with a script in the editor.
void runEditor(DeskFixture& f, const QString& editCode, const Script& script)
{
    f.app().showToolList();
    f.fakes().dialogs.modalScripts.push_back([script](QDialog& w) { script(static_cast<TfmEditor_T&>(w)); });
    if (editCode.isNull()) {
        f.control<QPushButton>("TfmTools", "Button1")->click();
    } else {
        QVERIFY(f.session().qTools.locate("ID_Tool", editCode));
        f.control<QPushButton>("TfmTools", "Button2")->click();
    }
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : text) // one key a letter, Cyrillic too
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString writePicture(const QString& path, const char* format)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(path, format);
    return path;
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT
private slots:
    void codeChecks_data();
    void codeChecks();
    void savedCodeFoundAtTheDesk();
    void generatedCode();
    void serialChecks_data();
    void serialChecks();
    void serialOfAnEarlierEditNotCarriedOver();
    void identityStaysWhenCodeChanges();
    void cancelDiscards_data();
    void cancelDiscards();
    void photoFromPictureFile();
    void damagedPictureChangesNothing();
    void pictureLandsInTheIdentityFolder();
    void hostileCodeKeepsPicturesInside();
    void datesFromThePickers();
    void sameDayChosenInThePicker_data();
    void sameDayChosenInThePicker();
    void priceTyped_data();
    void priceTyped();
    void pricesShownInTheLanguage();
    void dictionaryEntriesOfferedAtOnce();
    void loanPeriodTyped_data();
    void loanPeriodTyped();
};

void TestEditor::codeChecks_data()
{
    QTest::addColumn<QString>("editCode"); // null: a new tool
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // the code saved, when saved
    const QString tool = QStringLiteral("Введенный ID уже зарегистрирован у инструмента!");
    const QString user = QStringLiteral("Введенный ID уже зарегистрирован у пользователя!");
    QTest::newRow("new: another tool's code") << QString() << "T1" << tool << "";
    QTest::newRow("new: blanks around a taken code") << QString() << "  T1 " << tool << "";
    QTest::newRow("new: a recipient's code") << QString() << "U1" << user << "";
    QTest::newRow("new: a written-off tool's code") << QString() << "OFF" << tool << "";
    QTest::newRow("new: letter case of a tool's code") << QString() << "t1" << tool << "";
    QTest::newRow("new: letter case of a recipient's code") << QString() << "u1" << user << "";
    QTest::newRow("new: Cyrillic letter case") << QString() << "ключ-5" << tool << "";
    QTest::newRow("new: a code stored with blanks") << QString() << "leg" << tool << "";
    // Place labels' codes are "PL-" and the place's key.
    QTest::newRow("new: a place label's code") << QString() << "pl-3"
                                               << "Код pl-3 начинается с PL-, как коды этикеток мест хранения: сканер "
                                                  "примет его за место. Выберите другой код."
                                               << "";
    QTest::newRow("edit: a code like a place label's, kept") << "PL-OLD"
                                                             << "PL-OLD"
                                                             << ""
                                                             << "PL-OLD";
    QTest::newRow("new: free code typed with blanks") << QString() << "  SP-5  "
                                                      << ""
                                                      << "SP-5";
    QTest::newRow("edit: code kept, no check") << "T2"
                                               << "T2"
                                               << ""
                                               << "T2";
    QTest::newRow("edit: to another tool's code") << "T2"
                                                  << "T1" << tool << "";
    QTest::newRow("edit: to another tool's code in other case") << "T2"
                                                                << "t1" << tool << "";
    QTest::newRow("edit: own code in other case") << "T2"
                                                  << "t2"
                                                  << ""
                                                  << "t2";
    QTest::newRow("edit: own code with blanks around") << "T2"
                                                       << " T2  "
                                                       << ""
                                                       << "T2";
    QTest::newRow("edit: own Cyrillic code in other case") << "КЛЮЧ-5"
                                                           << "Ключ-5"
                                                           << ""
                                                           << "Ключ-5";
}

void TestEditor::codeChecks()
{
    QFETCH(QString, editCode);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.addTool("OFF");
    f.addTool("КЛЮЧ-5");
    f.addTool("  LEG ");
    f.addTool("PL-OLD");
    f.markWrittenOff(QStringLiteral("OFF"));
    bool stayedOpen = false;
    runEditor(f, editCode, [&](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), typed);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        stayedOpen = !e.OK;
        if (stayedOpen)
            QCOMPARE(DeskFixture::find<DbEdit>(e, "DBEdit1")->text(), typed); // what was typed is kept on a refusal
    });
    QCOMPARE(f.fakes().dialogs.texts("message"), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(stayedOpen, !message.isEmpty());
    const int tools = f.db().scalar("SELECT COUNT(*) FROM Tools").toInt();
    QCOMPARE(tools, 6 + (editCode.isNull() && message.isEmpty() ? 1 : 0));
    if (!stored.isEmpty()) {
        // The letters exactly as stored: the file's columns ignore case, the server's do not.
        const QString exact = f.db().dialect().isServer() ? QString() : QStringLiteral(" COLLATE BINARY");
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool=?") + exact, {stored}).toInt(),
                 1);
        if (editCode.isNull())
            QCOMPARE(f.toolValue(stored, "ID_Tool_Unique").toString(), stored);
    }
}

void TestEditor::savedCodeFoundAtTheDesk()
{
    // Typed with blanks, scanned without them and in another letter case.
    DeskFixture f;
    f.addRecipient("U1");
    runEditor(f, QString(), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "  Sp-5 ");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    f.scan("u1");
    f.scan("SP-5");
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.lastJournal("ID_T").toString(), QStringLiteral("Sp-5"));
}

void TestEditor::generatedCode()
{
    DeskFixture f;
    f.addTool("T1");
    const qint64 last = f.addTool("T2");
    runEditor(f, QString(), [](TfmEditor_T& e) { DeskFixture::find<QPushButton>(e, "btOK")->click(); });
    const QString generated = QString::number(last) + QStringLiteral("001");
    QCOMPARE(f.toolValue(generated, "ID_Tool_Unique").toString(), generated);

    // The generated code taken already: refused, and the code stays in the box.
    f.db().exec("UPDATE Tools SET ID_Tool=? WHERE ID_Tool='T1'",
                {QString::number(f.db().scalar("SELECT MAX(ID) FROM Tools").toLongLong()) + "001"});
    QString shown;
    runEditor(f, QString(), [&](TfmEditor_T& e) {
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        shown = DeskFixture::find<DbEdit>(e, "DBEdit1")->text();
    });
    QCOMPARE(f.fakes().dialogs.texts("message").last(),
             QStringLiteral("Введенный ID уже зарегистрирован у инструмента!"));
    QVERIFY(shown.endsWith("001"));
}

void TestEditor::serialChecks_data()
{
    QTest::addColumn<QString>("editCode");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("stored"); // the serial saved, when saved
    QTest::newRow("new, duplicate") << QString() << "SN-1" << true << "";
    QTest::newRow("new, duplicate with blanks") << QString() << " SN-1  " << true << "";
    QTest::newRow("new, duplicate in other case") << QString() << "sn-1" << true << "";
    QTest::newRow("new, Cyrillic duplicate in other case") << QString() << "ся-9" << true << "";
    QTest::newRow("new, free serial stored trimmed") << QString() << "  SN-7 " << false << "SN-7";
    QTest::newRow("new, empty never checked") << QString() << "" << false << "";
    QTest::newRow("edit keeping a shared serial") << "T2"
                                                  << "SN-1" << false << "SN-1";
    QTest::newRow("edit to a duplicate") << "T3"
                                         << "SN-1" << true << "";
    QTest::newRow("edit, own serial in other case") << "T4"
                                                    << "Ся-9" << false << "Ся-9";
}

void TestEditor::serialChecks()
{
    QFETCH(QString, editCode);
    QFETCH(QString, serial);
    QFETCH(bool, refused);
    QFETCH(QString, stored);
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    f.addTool("T3");
    f.addTool("T4");
    f.db().exec("UPDATE Tools SET SNumber='SN-1' WHERE ID_Tool IN ('T1','T2')");
    f.db().exec("UPDATE Tools SET SNumber='' WHERE ID_Tool='T3'");
    f.db().exec("UPDATE Tools SET SNumber='СЯ-9' WHERE ID_Tool='T4'");
    const QString code = editCode.isNull() ? QStringLiteral("NEW") : editCode;
    runEditor(f, editCode, [&](TfmEditor_T& e) {
        if (editCode.isNull())
            typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), code);
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit5"), serial);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.fakes().dialogs.texts("message"),
             refused ? QStringList{QStringLiteral("Обнаружен дубликат серийного номера!")} : QStringList{});
    if (!stored.isEmpty())
        QCOMPARE(f.toolValue(code, "SNumber").toString(), stored);
}

void TestEditor::serialOfAnEarlierEditNotCarriedOver()
{
    // The editor takes the serial it compares against at each showing: the
    // serial an edited tool kept is no free pass for the next new tool.
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    f.db().exec("UPDATE Tools SET SNumber='SN-1' WHERE ID_Tool IN ('T1','T2')");
    runEditor(f, QStringLiteral("T2"), [](TfmEditor_T& e) { DeskFixture::find<QPushButton>(e, "btOK")->click(); });
    QVERIFY(f.fakes().dialogs.texts("message").isEmpty());
    bool saved = true;
    runEditor(f, QString(), [&saved](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "NEW");
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit5"), "SN-1");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        saved = e.OK;
    });
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{QStringLiteral("Обнаружен дубликат серийного номера!")});
    QVERIFY(!saved);
    QVERIFY(!f.toolValue("NEW", "ID").isValid());
}

void TestEditor::identityStaysWhenCodeChanges()
{
    DeskFixture f;
    runEditor(f, QString(), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "OLD");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    runEditor(f, QStringLiteral("OLD"), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "NEW");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.toolValue("NEW", "ID_Tool_Unique").toString(), QStringLiteral("OLD"));
    QCOMPARE(f.toolValue("NEW", "Passed").toInt(), 1);
}

void TestEditor::cancelDiscards_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Cancel button") << true;
    QTest::newRow("window closed") << false;
}

void TestEditor::cancelDiscards()
{
    QFETCH(bool, byButton);
    DeskFixture f;
    f.addTool("T1", "Дрель", "Bosch");
    runEditor(f, QStringLiteral("T1"), [&](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit3"), "Makita");
        if (byButton)
            DeskFixture::find<QPushButton>(e, "Button1")->click();
    });
    QCOMPARE(f.toolValue("T1", "Proizvoditel").toString(), QStringLiteral("Bosch"));
    QCOMPARE(f.session().qTools.text("Proizvoditel"), QStringLiteral("Bosch"));
    runEditor(f, QString(), [&](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "DROPPED");
        if (byButton)
            DeskFixture::find<QPushButton>(e, "Button1")->click();
    });
    QVERIFY(!f.toolValue("DROPPED", "ID").isValid());
    QVERIFY(!f.window<TfmEditor_T>("TfmEditor_T").IsNewRecord);
    QCOMPARE(f.session().qTools.state(), Query::State::Browse);
}

void TestEditor::photoFromPictureFile()
{
    DeskFixture f;
    const QString jpeg = writePicture(f.data().data("photo.jpg"), "JPG");
    f.fakes().dialogs.pictureAnswers.push_back(jpeg);
    runEditor(f, QString(), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "P1");
        DeskFixture::find<QPushButton>(e, "Button3")->click();
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QImage stored;
    QVERIFY(stored.loadFromData(f.toolValue("P1", "Photo").toByteArray(), "BMP"));
    QCOMPARE(stored.size(), QSize(184, 195));
    QVERIFY(QFile::exists(toolImagesFolder(f.data().folder(), "P1") + "photo.jpg"));
}

void TestEditor::damagedPictureChangesNothing()
{
    DeskFixture f;
    f.addTool("T1");
    f.db().exec("UPDATE Tools SET Photo=? WHERE ID_Tool='T1'", {QByteArray("old photo")});
    QFile whole(writePicture(f.data().data("whole.jpg"), "JPG"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QFile cut(f.data().data("cut.jpg"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.readAll().left(int(whole.size() / 2)));
    cut.close();
    f.fakes().dialogs.pictureAnswers.push_back(cut.fileName());
    runEditor(f, QStringLiteral("T1"), [](TfmEditor_T& e) {
        DeskFixture::find<QPushButton>(e, "Button3")->click();
        QVERIFY(e.chosenPicture.isEmpty());
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.fakes().dialogs.texts("error").size(), 1);
    QCOMPARE(f.toolValue("T1", "Photo").toByteArray(), QByteArray("old photo"));
}

void TestEditor::pictureLandsInTheIdentityFolder()
{
    // The card lists the folder of the tool's identity: a picture chosen after
    // a code change goes there too.
    DeskFixture f;
    f.addTool("FIRST");
    const QString bmp = writePicture(f.data().data("side.bmp"), "BMP");
    f.fakes().dialogs.pictureAnswers.push_back(bmp);
    runEditor(f, QStringLiteral("FIRST"), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "SECOND");
        DeskFixture::find<QPushButton>(e, "Button3")->click();
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QVERIFY(QFile::exists(toolImagesFolder(f.data().folder(), "FIRST") + "side.bmp"));
    QVERIFY(!QDir(toolImagesFolder(f.data().folder(), "SECOND")).exists());
}

void TestEditor::hostileCodeKeepsPicturesInside()
{
    DeskFixture f;
    const QString bmp = writePicture(f.data().data("p.bmp"), "BMP");
    f.fakes().dialogs.pictureAnswers.push_back(bmp);
    runEditor(f, QString(), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "../../x");
        DeskFixture::find<QPushButton>(e, "Button3")->click();
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    const QString images = QDir::cleanPath(f.data().data("Images"));
    const QString folder = QDir::cleanPath(toolImagesFolder(f.data().folder(), "../../x"));
    QVERIFY2(folder.startsWith(images + u'/'), qPrintable(folder));
    QVERIFY(QFile::exists(folder + "/p.bmp"));
    QVERIFY(!QFile::exists(f.data().folder() + "../x/p.bmp"));
}

void TestEditor::datesFromThePickers()
{
    DeskFixture f;
    f.addTool("T1");
    runEditor(f, QStringLiteral("T1"), [](TfmEditor_T& e) {
        DeskFixture::find<QDateEdit>(e, "DateTimePicker1")->setDate(QDate(2029, 1, 31));
        DeskFixture::find<QDateEdit>(e, "DateTimePicker2")->setDate(QDate(2024, 2, 29));
        QCOMPARE(DeskFixture::find<DbEdit>(e, "DBEdit7")->text(), QStringLiteral("31.01.2029"));
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.toolValue("T1", "Guarantee").toString(), QStringLiteral("2029-01-31"));
    QCOMPARE(f.toolValue("T1", "Date_Purchase").toString(), QStringLiteral("2024-02-29"));
}

void TestEditor::sameDayChosenInThePicker_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("clicked") << true;
    QTest::newRow("Enter in the calendar") << false;
}

void TestEditor::sameDayChosenInThePicker()
{
    // The picker opens on today; choosing today changes no date but sets the field.
    QFETCH(bool, byMouse);
    DeskFixture f;
    f.addTool("T1");
    f.fakes().clock.current = QDateTime(QDate(2026, 3, 14), QTime(9, 0));
    runEditor(f, QStringLiteral("T1"), [&](TfmEditor_T& e) {
        auto* picker = DeskFixture::find<QDateEdit>(e, "DateTimePicker1");
        QCOMPARE(picker->date(), QDate(2026, 3, 14));
        // The user reaches the picker first (a key that changes nothing):
        // its calendar is hooked up then.
        QTest::keyClick(picker, Qt::Key_Shift);
        QCOMPARE(picker->date(), QDate(2026, 3, 14));
        QCalendarWidget* calendar = picker->calendarWidget();
        if (byMouse) {
            emit calendar->clicked(QDate(2026, 3, 14));
        } else {
            auto* days = calendar->findChild<QTableView*>();
            QVERIFY(days);
            QTest::keyClick(days, Qt::Key_Return);
        }
        QCOMPARE(DeskFixture::find<DbEdit>(e, "DBEdit7")->text(), QStringLiteral("14.03.2026"));
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.toolValue("T1", "Guarantee").toString(), QStringLiteral("2026-03-14"));
    QVERIFY(f.toolValue("T1", "Date_Purchase").isNull() || f.toolValue("T1", "Date_Purchase").toString().isEmpty());
}

void TestEditor::priceTyped_data()
{
    QTest::addColumn<int>("languageIndex"); // 0 RU, 1 EN
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored"); // -1: refused
    for (int language : {0, 1}) {
        const QByteArray tag = language ? "EN: " : "RU: ";
        QTest::newRow(tag + "decimal comma") << language << "1234,50" << 1234.5;
        QTest::newRow(tag + "decimal point") << language << "1234.50" << 1234.5;
        QTest::newRow(tag + "garbage") << language << "12abc" << -1.0;
        QTest::newRow(tag + "two decimal marks") << language << "12,5,0" << -1.0;
    }
    QTest::newRow("RU: blanks group") << 0 << "1 234,50" << 1234.5;
    QTest::newRow("RU: no-break blank groups") << 0 << QStringLiteral("1\u00A0234,5") << 1234.5;
    QTest::newRow("RU: comma before three digits is decimal") << 0 << "1,234" << 1.234;
    QTest::newRow("EN: commas group") << 1 << "1,234.50" << 1234.5;
    QTest::newRow("EN: comma before three digits groups") << 1 << "1,234" << 1234.0;
    QTest::newRow("EN: misplaced group") << 1 << "12,34.5" << -1.0;
}

void TestEditor::priceTyped()
{
    QFETCH(int, languageIndex);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    DeskFixture f;
    f.addTool("T1");
    f.db().exec("UPDATE Tools SET Price=7 WHERE ID_Tool='T1'");
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(languageIndex);
    bool saved = false;
    runEditor(f, QStringLiteral("T1"), [&](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit6"), typed);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        saved = e.OK;
        if (!saved)
            QCOMPARE(DeskFixture::find<DbEdit>(e, "DBEdit6")->text(), typed); // kept for correcting
    });
    QCOMPARE(saved, stored >= 0);
    QCOMPARE(f.fakes().dialogs.texts("message"),
             saved ? QStringList{} : QStringList{f.session().texts().rsPriceNotNumber});
    QCOMPARE(f.toolValue("T1", "Price").toDouble(), saved ? stored : 7.0);
}

void TestEditor::loanPeriodTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored"); // null: the type's period; invalid: refused
    QTest::newRow("days") << "21" << QVariant(21);
    QTest::newRow("blanks around") << " 7 " << QVariant(7);
    QTest::newRow("zero: no due date") << "0" << QVariant(0);
    QTest::newRow("empty: the type's") << "" << QVariant(QMetaType(QMetaType::Int));
    QTest::newRow("negative") << "-3" << QVariant();
    QTest::newRow("not a number") << "две недели" << QVariant();
}

void TestEditor::loanPeriodTyped()
{
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    DeskFixture f;
    f.addTool("T1");
    f.db().exec("UPDATE Tools SET LoanDays=5 WHERE ID_Tool='T1'");
    bool saved = false;
    runEditor(f, QStringLiteral("T1"), [&](TfmEditor_T& e) {
        auto* box = DeskFixture::find<DbEdit>(e, "edLoanDays");
        QCOMPARE(box->text(), QStringLiteral("5"));
        typeInto(box, typed);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        saved = e.OK;
    });
    QCOMPARE(saved, stored.isValid());
    QCOMPARE(f.fakes().dialogs.texts("message"),
             saved ? QStringList{} : QStringList{f.session().texts().rsLoanDaysNotNumber});
    const QVariant now = f.toolValue("T1", "LoanDays");
    if (!saved)
        QCOMPARE(now.toInt(), 5);
    else if (stored.isNull())
        QVERIFY(now.isNull());
    else
        QCOMPARE(now.toInt(), stored.toInt());
}

void TestEditor::pricesShownInTheLanguage()
{
    DeskFixture f;
    f.addTool("T1");
    f.db().exec("UPDATE Tools SET Price=1234567.5 WHERE ID_Tool='T1'");
    auto* language = f.control<QComboBox>("TfmCFG", "cbLeng");
    auto* price = f.control<DbEdit>("TfmEditor_T", "DBEdit6");
    f.app().showToolList();
    QVERIFY(f.session().qTools.locate("ID_Tool", "T1"));
    const auto grouped = [](QString text) { return text.replace(QChar(0x00A0), u' '); };
    QCOMPARE(grouped(price->text()), QStringLiteral("1 234 567,50"));
    language->setCurrentIndex(1);
    QCOMPARE(price->text(), QStringLiteral("1,234,567.50")); // follows the switch at once
    language->setCurrentIndex(0);
    QCOMPARE(grouped(price->text()), QStringLiteral("1 234 567,50"));
    // A shown amount typed back is the same amount.
    runEditor(f, QStringLiteral("T1"), [](TfmEditor_T& e) {
        auto* box = DeskFixture::find<DbEdit>(e, "DBEdit6");
        const QString shown = box->text();
        typeInto(box, shown);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.toolValue("T1", "Price").toDouble(), 1234567.5);
}

void TestEditor::dictionaryEntriesOfferedAtOnce()
{
    DeskFixture f;
    f.addTool("T1");
    runEditor(f, QStringLiteral("T1"), [&f](TfmEditor_T& e) {
        f.fakes().dialogs.modalScripts.push_front([](QDialog& w) {
            auto& dict = static_cast<TfmDict&>(w);
            QTest::keyClicks(dict.edField, "Saw");
            dict.btAdd->click();
        });
        DeskFixture::find<QToolButton>(e, "SpeedButton3")->click();
        auto* types = DeskFixture::find<DbComboBox>(e, "DBLookupComboBox3");
        const int index = types->findText("Saw");
        QVERIFY(index >= 0);
        types->setCurrentIndex(index);
        emit types->activated(index);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.toolValue("T1", "Tool_Type").toString(), QStringLiteral("Saw"));
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
