// The program's file choosers offer their files in the interface language
// and start in the folder of the last file chosen of their kind, also after
// a new start; the settings file keeps that folder in plain ASCII.
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Asks a window's picture chooser once; the fakes answer with answer.
using Chooser = std::function<void(DeskFixture&)>;

void inModal(DeskFixture& f, const char* button)
{
    f.fakes().dialogs.modalScripts.push_back([button](QDialog& editor) {
        DeskFixture::find<QAbstractButton>(editor, button)->click();
        editor.reject();
    });
}

const QHash<QString, Chooser>& choosers()
{
    static const QHash<QString, Chooser> all = {
        {QStringLiteral("tool editor"),
         [](DeskFixture& f) {
             f.app().showToolList();
             inModal(f, "Button3");
             f.control<QAbstractButton>("TfmTools", "Button1")->click();
         }},
        {QStringLiteral("recipient editor"),
         [](DeskFixture& f) {
             f.app().showRecipientList();
             inModal(f, "SpeedButton1");
             f.control<QAbstractButton>("TfmUsers", "Button1")->click();
         }},
        {QStringLiteral("tool card"),
         [](DeskFixture& f) {
             Query& tools = f.session().qTools;
             tools.reopen();
             if (!tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T1")))
                 qFatal("no tool T1");
             auto& card = f.window<TfmCard_T>("TfmCard_T");
             card.loadCurrentTool();
             card.FormShow();
             DeskFixture::find<QAbstractButton>(card, "btAddImage")->click();
         }},
    };
    return all;
}

QString lastPicture(DeskFixture& f)
{
    const QStringList asked = f.fakes().dialogs.texts(QStringLiteral("picture"));
    return asked.isEmpty() ? QString() : asked.last();
}

} // namespace

class TestFileChoosers : public QObject
{
    Q_OBJECT
private slots:
    void pictureChooser_data();
    void pictureChooser();
    void saveChooserStartsWhereTheLastFileWent();
};

void TestFileChoosers::pictureChooser_data()
{
    QTest::addColumn<QString>("chooser");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("filter");
    const QString ru = QStringLiteral("Изображение (*.jpg *.jpeg *.bmp);;Все файлы (*)");
    const QString en = QStringLiteral("Image (*.jpg *.jpeg *.bmp);;All files (*)");
    QTest::newRow("tool editor RU") << "tool editor"
                                    << "RU" << ru;
    QTest::newRow("tool editor EN") << "tool editor"
                                    << "EN" << en;
    QTest::newRow("recipient editor RU") << "recipient editor"
                                         << "RU" << ru;
    QTest::newRow("tool card EN") << "tool card"
                                  << "EN" << en;
}

void TestFileChoosers::pictureChooser()
{
    QFETCH(QString, chooser);
    QFETCH(QString, language);
    QFETCH(QString, filter);
    const Chooser& ask = choosers()[chooser];
    QTemporaryDir outside;
    const QString folder = outside.filePath(QStringLiteral("Фото склада"));
    QVERIFY(QDir().mkpath(folder));
    const QString picture = QDir(folder).filePath(QStringLiteral("drill.bmp"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));

    QString iniText = QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language);
    {
        DeskFixture f(iniText);
        QVERIFY(f.started());
        f.addTool(QStringLiteral("T1"));
        ask(f); // cancelled: no folder kept yet
        QCOMPARE(lastPicture(f), filter + u'|');
        f.fakes().dialogs.pictureAnswers.push_back(picture);
        ask(f);
        QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("error")), QStringList());
        ask(f); // cancelled: the folder stays
        QCOMPARE(lastPicture(f), filter + u'|' + folder);
        ask(f);
        QCOMPARE(lastPicture(f), filter + u'|' + folder);
        iniText = f.data().readIni();
    }
    // Kept in the settings file as plain ASCII, and used after a new start.
    for (const QChar c : iniText)
        QVERIFY2(c.unicode() < 0x80, qPrintable(iniText));
    DeskFixture again(iniText);
    again.addTool(QStringLiteral("T1"));
    ask(again);
    QCOMPARE(lastPicture(again), filter + u'|' + folder);

    // A kept folder that is gone: the chooser starts where it starts itself.
    QVERIFY(QDir(folder).removeRecursively());
    ask(again);
    QCOMPARE(lastPicture(again), filter + u'|');
}

void TestFileChoosers::saveChooserStartsWhereTheLastFileWent()
{
    DeskFixture f;
    QVERIFY(f.started());
    QTemporaryDir outside;
    auto* backup = f.control<QAbstractButton>("TfmSettings", "btBackup");
    backup->click(); // cancelled
    const QString suggested = f.fakes().dialogs.texts(QStringLiteral("save")).last().section(u'|', 1);
    QCOMPARE(QFileInfo(suggested).absolutePath(), QFileInfo(f.data().folder()).absolutePath());

    f.fakes().dialogs.saveFileAnswers.push_back(outside.filePath(QStringLiteral("copy.mdb")));
    backup->click();
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("error")), QStringList());
    backup->click();
    const QString next = f.fakes().dialogs.texts(QStringLiteral("save")).last().section(u'|', 1);
    QCOMPARE(next, QDir(outside.path()).filePath(QFileInfo(suggested).fileName()));
}

QTEST_MAIN(TestFileChoosers)
#include "tst_filechoosers.moc"
