// The tool editor reached through the tool list: the code and serial
// checks, identity, photos, dates, discarding, and the dictionaries' lists.
#include "core/Session.h"
#include "support/DeskFixture.h"
#include "tools/TfmDict.h"
#include "tools/TfmEditor_T.h"
#include "widgets/DbComboBox.h"
#include "widgets/DbEdit.h"
#include "widgets/ImageFolder.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
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
    QTest::keyClicks(box, text);
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
    void priceMustBeANumber();
    void dictionaryEntriesOfferedAtOnce();
};

void TestEditor::codeChecks_data()
{
    QTest::addColumn<QString>("editCode"); // null: a new tool
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString tool = QStringLiteral("Введенный ID уже зарегистрирован у инструмента!");
    const QString user = QStringLiteral("Введенный ID уже зарегистрирован у пользователя!");
    QTest::newRow("new: another tool's code") << QString() << "T1" << tool;
    QTest::newRow("new: blanks around the code") << QString() << "  T1 " << tool;
    QTest::newRow("new: a recipient's code") << QString() << "U1" << user;
    QTest::newRow("new: a written-off tool's code") << QString() << "OFF" << tool;
    QTest::newRow("new: other letter case is another code") << QString() << "t1"
                                                            << "";
    QTest::newRow("new: free code") << QString() << "T9"
                                    << "";
    QTest::newRow("edit: code kept, no check") << "T2"
                                               << "T2"
                                               << "";
    QTest::newRow("edit: to another tool's code") << "T2"
                                                  << "T1" << tool;
    QTest::newRow("edit: case change runs the check") << "T2"
                                                      << "t2"
                                                      << "";
}

void TestEditor::codeChecks()
{
    QFETCH(QString, editCode);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    f.addTool("T2");
    f.addTool("OFF");
    f.db().exec("UPDATE Tools SET WriteOff=1 WHERE ID_Tool='OFF'");
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
    QCOMPARE(tools, 3 + (editCode.isNull() && message.isEmpty() ? 1 : 0));
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
    QTest::newRow("new, duplicate") << QString() << "SN-1" << true;
    QTest::newRow("new, duplicate with blanks") << QString() << " SN-1  " << true;
    QTest::newRow("new, other case") << QString() << "sn-1" << false;
    QTest::newRow("new, empty never checked") << QString() << "" << false;
    QTest::newRow("edit keeping a shared serial") << "T2"
                                                  << "SN-1" << false;
    QTest::newRow("edit to a duplicate") << "T3"
                                         << "SN-1" << true;
}

void TestEditor::serialChecks()
{
    QFETCH(QString, editCode);
    QFETCH(QString, serial);
    QFETCH(bool, refused);
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    f.addTool("T3");
    f.addTool("T4");
    f.db().exec("UPDATE Tools SET SNumber='SN-1' WHERE ID_Tool IN ('T1','T2')");
    f.db().exec("UPDATE Tools SET SNumber='' WHERE ID_Tool IN ('T3','T4')");
    runEditor(f, editCode, [&](TfmEditor_T& e) {
        if (editCode.isNull())
            typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "NEW");
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit5"), serial);
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.fakes().dialogs.texts("message"),
             refused ? QStringList{QStringLiteral("Обнаружен дубликат серийного номера!")} : QStringList{});
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

void TestEditor::priceMustBeANumber()
{
    DeskFixture f;
    f.addTool("T1");
    runEditor(f, QStringLiteral("T1"), [](TfmEditor_T& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit6"), "12abc");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
        QVERIFY(!e.OK);
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit6"), "1250.5");
        DeskFixture::find<QPushButton>(e, "btOK")->click();
    });
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{QStringLiteral("Стоимость должна быть числом!")});
    QCOMPARE(f.toolValue("T1", "Price").toDouble(), 1250.5);
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
