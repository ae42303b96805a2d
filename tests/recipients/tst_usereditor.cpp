// The recipient editor reached through the recipient list: the code checks
// against tools and recipients, the automatic code, the default photo and a
// photo from a file, and discarding on every close without OK.
#include "core/Session.h"
#include "data/Connection.h"
#include "recipients/TfmEditor_U.h"
#include "support/DeskFixture.h"
#include "widgets/DbEdit.h"

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

using Script = std::function<void(TfmEditor_U&)>;

// Runs Add (editCode null) or Edit of the recipient with that code, with a
// script in the editor.
void runEditor(DeskFixture& f, const QString& editCode, const Script& script)
{
    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click(); // the list as stored now
    f.fakes().dialogs.modalScripts.push_back([script](QDialog& w) { script(static_cast<TfmEditor_U&>(w)); });
    if (editCode.isNull()) {
        f.control<QPushButton>("TfmUsers", "Button1")->click();
    } else {
        QVERIFY(f.session().qUsers.locate("ID_User", editCode));
        f.control<QPushButton>("TfmUsers", "Button2")->click();
    }
}

// Types as a keyboard does, Cyrillic letters too.
void typeInto(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pressOK(TfmEditor_U& e)
{
    DeskFixture::find<QPushButton>(e, "btOK")->click();
}

QString writePicture(const QString& path, const char* format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(path, format);
    return path;
}

QStringList storedCodes(DeskFixture& f)
{
    QStringList codes;
    Statement rows = f.db().run("SELECT ID_User FROM Users ORDER BY ID");
    while (rows->next())
        codes << rows->value(0).toString();
    return codes;
}

const QString kToolTaken = QStringLiteral("Введенный ID уже зарегистрирован у инструмента!");
const QString kUserTaken = QStringLiteral("Введенный ID уже зарегистрирован у пользователя!");

} // namespace

class TestUserEditor : public QObject
{
    Q_OBJECT
private slots:
    void codeChecks_data();
    void codeChecks();
    void failedCheckDoesNotStopSave();
    void generatedCode();
    void newRecipientGetsDefaultPhoto_data();
    void newRecipientGetsDefaultPhoto();
    void photoFromPictureFile_data();
    void photoFromPictureFile();
    void damagedPictureChangesNothing();
    void cancelDiscards_data();
    void cancelDiscards();
};

void TestUserEditor::codeChecks_data()
{
    QTest::addColumn<QString>("editCode"); // null: a new recipient
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");      // empty: saved
    QTest::addColumn<QStringList>("expected"); // the codes stored afterwards
    const QStringList before{"U1", "U2", "Ж1"};
    QTest::newRow("new: a tool's code") << QString() << "T1" << kToolTaken << before;
    QTest::newRow("new: a tool's code in other letters") << QString() << "t1" << kToolTaken << before;
    QTest::newRow("new: a written-off tool's code") << QString() << "OFF" << kToolTaken << before;
    QTest::newRow("new: a recipient's code in other letters") << QString() << "u1" << kUserTaken << before;
    QTest::newRow("new: Cyrillic code in other letters") << QString() << "ж1" << kUserTaken << before;
    QTest::newRow("new: blanks around a taken code") << QString() << " U2 " << kUserTaken << before;
    QTest::newRow("new: a place label's code")
        << QString() << "PL-1"
        << "Код PL-1 начинается с PL-, как коды этикеток мест хранения: сканер примет его за место. Выберите другой "
           "код."
        << before;
    QTest::newRow("new: free code stored trimmed") << QString() << "  U9 " << QString() << before + QStringList{"U9"};
    QTest::newRow("edit: code kept") << "U2"
                                     << "U2" << QString() << before;
    QTest::newRow("edit: own code in other letters") << "U2"
                                                     << "u2" << QString() << QStringList{"U1", "u2", "Ж1"};
    QTest::newRow("edit: own code with a blank") << "U2"
                                                 << "U2 " << QString() << before;
    QTest::newRow("edit: another recipient's code") << "U2"
                                                    << "u1" << kUserTaken << before;
    QTest::newRow("edit: a tool's code") << "U2"
                                         << "T1" << kToolTaken << before;
}

void TestUserEditor::codeChecks()
{
    QFETCH(QString, editCode);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QStringList, expected);
    DeskFixture f;
    f.addRecipient("U1");
    f.addRecipient("U2", "Петров");
    f.addRecipient("Ж1");
    f.addTool("T1");
    f.addTool("OFF");
    f.markWrittenOff(QStringLiteral("OFF"));
    bool saved = false;
    runEditor(f, editCode, [&](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), typed);
        pressOK(e);
        saved = e.OK;
        if (!saved) // a refusal keeps what was typed
            QCOMPARE(DeskFixture::find<DbEdit>(e, "DBEdit1")->text(), typed);
    });
    QCOMPARE(f.fakes().dialogs.texts("message"), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(saved, message.isEmpty());
    QCOMPARE(storedCodes(f), expected);
    QCOMPARE(f.session().qUsers.state(), Query::State::Browse);
    if (!editCode.isNull()) // the other fields untouched
        QCOMPARE(f.db().scalar("SELECT FIO FROM Users WHERE ID=2").toString(), QStringLiteral("Петров"));
}

void TestUserEditor::failedCheckDoesNotStopSave()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.db().changeSchema("ALTER TABLE Tools RENAME TO Tools_saved"); // the tool check fails
    runEditor(f, QString(), [](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "U5");
        pressOK(e);
    });
    const QStringList errors = f.fakes().dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith("InTool_IDList: "), qPrintable(errors.first()));
    QCOMPARE(storedCodes(f), (QStringList{"U1", "U5"}));
}

void TestUserEditor::generatedCode()
{
    DeskFixture f;
    runEditor(f, QString(), [](TfmEditor_U& e) { pressOK(e); });
    QCOMPARE(storedCodes(f), QStringList{"002"}); // an empty register
    f.addRecipient("U2");
    const qint64 last = f.addRecipient("U3");
    runEditor(f, QString(), [](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "   ");
        pressOK(e);
    });
    QCOMPARE(storedCodes(f).last(), QString::number(last) + "002");

    // The generated code is a tool's already: refused, and it stays in the box.
    const QString next = QString::number(last + 1) + "002";
    f.addTool(next);
    QString shown;
    runEditor(f, QString(), [&](TfmEditor_U& e) {
        pressOK(e);
        shown = DeskFixture::find<DbEdit>(e, "DBEdit1")->text();
    });
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{kToolTaken});
    QCOMPARE(shown, next);
    QCOMPARE(storedCodes(f).size(), 4);
}

void TestUserEditor::newRecipientGetsDefaultPhoto_data()
{
    QTest::addColumn<bool>("defaultPhoto");
    QTest::newRow("Data/U.bmp present") << true;
    QTest::newRow("Data/U.bmp missing") << false;
}

void TestUserEditor::newRecipientGetsDefaultPhoto()
{
    QFETCH(bool, defaultPhoto);
    DeskFixture f;
    QFile picture(f.session().paths().recipientPicture);
    QVERIFY(picture.exists());
    QByteArray bytes;
    if (defaultPhoto) {
        QVERIFY(picture.open(QIODevice::ReadOnly));
        bytes = picture.readAll();
    } else {
        QVERIFY(picture.remove());
    }
    runEditor(f, QString(), [](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "P1");
        pressOK(e);
    });
    const QVariant stored = f.db().scalar("SELECT Photo FROM Users WHERE ID_User='P1'");
    QCOMPARE(stored.isNull(), !defaultPhoto);
    QCOMPARE(stored.toByteArray(), bytes);
}

void TestUserEditor::photoFromPictureFile_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("JPEG, wide") << "JPG" << QSize(640, 200);
    QTest::newRow("BMP, small and tall") << "BMP" << QSize(20, 90);
}

void TestUserEditor::photoFromPictureFile()
{
    QFETCH(QString, format);
    QFETCH(QSize, size);
    DeskFixture f;
    f.addRecipient("U1");
    f.fakes().dialogs.pictureAnswers.push_back(
        writePicture(f.data().data("photo." + format.toLower()), qPrintable(format), size));
    runEditor(f, "U1", [](TfmEditor_U& e) {
        DeskFixture::find<QToolButton>(e, "SpeedButton1")->click();
        pressOK(e);
    });
    QImage stored;
    QVERIFY(stored.loadFromData(f.db().scalar("SELECT Photo FROM Users WHERE ID_User='U1'").toByteArray(), "BMP"));
    QCOMPARE(stored.size(), QSize(184, 195));
    QVERIFY(f.fakes().dialogs.texts("error").isEmpty());
}

void TestUserEditor::damagedPictureChangesNothing()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.db().exec("UPDATE Users SET Photo=? WHERE ID_User='U1'", {QByteArray("old photo")});
    QFile whole(writePicture(f.data().data("whole.jpg"), "JPG", QSize(300, 200)));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QFile cut(f.data().data("cut.jpg"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.readAll().left(int(whole.size() / 2)));
    cut.close();
    f.fakes().dialogs.pictureAnswers.push_back(cut.fileName());
    runEditor(f, "U1", [](TfmEditor_U& e) {
        DeskFixture::find<QToolButton>(e, "SpeedButton1")->click();
        pressOK(e);
    });
    const QStringList errors = f.fakes().dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("cut.jpg"), qPrintable(errors.first()));
    QCOMPARE(f.db().scalar("SELECT Photo FROM Users WHERE ID_User='U1'").toByteArray(), QByteArray("old photo"));
}

void TestUserEditor::cancelDiscards_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Cancel button") << true;
    QTest::newRow("window closed") << false;
}

void TestUserEditor::cancelDiscards()
{
    QFETCH(bool, byButton);
    DeskFixture f;
    f.addRecipient("U1", "Иванов");
    f.db().exec("UPDATE Users SET Photo=? WHERE ID_User='U1'", {QByteArray("old photo")});
    f.fakes().dialogs.pictureAnswers.push_back(writePicture(f.data().data("p.bmp"), "BMP", QSize(50, 50)));
    runEditor(f, "U1", [&](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit2"), "Петров");
        DeskFixture::find<QToolButton>(e, "SpeedButton1")->click();
        if (byButton)
            DeskFixture::find<QPushButton>(e, "btCancel")->click();
    });
    QCOMPARE(f.db().scalar("SELECT FIO FROM Users").toString(), QStringLiteral("Иванов"));
    QCOMPARE(f.db().scalar("SELECT Photo FROM Users").toByteArray(), QByteArray("old photo"));
    QCOMPARE(f.session().qUsers.text("FIO"), QStringLiteral("Иванов"));
    runEditor(f, QString(), [&](TfmEditor_U& e) {
        typeInto(DeskFixture::find<DbEdit>(e, "DBEdit1"), "DROPPED");
        if (byButton)
            DeskFixture::find<QPushButton>(e, "btCancel")->click();
    });
    QCOMPARE(storedCodes(f), QStringList{"U1"});
    QCOMPARE(f.session().qUsers.state(), Query::State::Browse);
    QCOMPARE(f.session().qUsers.fetchedCount(), 1);
}

QTEST_MAIN(TestUserEditor)
#include "tst_usereditor.moc"
