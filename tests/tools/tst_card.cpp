// The tool card opened as the tool list opens it: its picture folder, the
// pictures in it, the operator's return of a tool that is out, its journal
// and the access mode.
#include "app/Forms.h"
#include "config/Messages.h"
#include "config/TfmCFG.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmTools.h"
#include "widgets/DbGrid.h"
#include "widgets/DbText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

namespace {

// What the tool list does on a double click, then the card's show handler.
TfmCard_T& openCard(DeskFixture& f, const QString& identity)
{
    TfmMain& m = f.main();
    const Forms& forms = f.app().forms();
    m.qTools.reopen();
    m.qTools.locate(QStringLiteral("ID_Tool_Unique"), identity);
    TfmCard_T& card = *forms.cardT;
    card.ID = identity;
    card.ID_ForHend = m.qTools.text(QStringLiteral("ID_Tool"));
    card.reloadJournal();
    card.showToolState(m.qTools.boolean(QStringLiteral("Passed")));
    forms.tools->RememberedToolKey = m.qTools.integer(QStringLiteral("ID"));
    card.FormShow();
    return card;
}

QStringList column(Query& q, const QString& field)
{
    QStringList values;
    for (int row = 0; row < q.fetchedCount(); ++row)
        values << q.value(row, q.fieldIndex(field)).toString();
    return values;
}

QStringList pictures(const TfmCard_T& card)
{
    QStringList names;
    for (int i = 0; i < card.ImgList->count(); ++i)
        names << card.ImgList->item(i)->text();
    return names;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void addJournal(DeskFixture& f, const QString& identity, const QString& operation, const QString& fio)
{
    f.db().exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, Note, FIO) "
                               "VALUES ('U', ?, '2026-01-02', '10:11:12', ?, '', ?)"),
                {identity, operation, fio});
}

} // namespace

class TestCard : public QObject
{
    Q_OBJECT
private slots:
    void showMakesFolderInsideImages_data();
    void showMakesFolderInsideImages();
    void showListsFilesOnly();
    void addPictureCopiesAndReplaces();
    void addPictureFailureShowsSystemText();
    void deletePictureAsksFirst_data();
    void deletePictureAsksFirst();
    void deleteAndOpenNeedSelection();
    void deleteFailureShowsSystemText();
    void openPictureThroughShell();
    void returnByOperator_data();
    void returnByOperator();
    void returnOfToolAlreadyBackWritesNothing();
    void failedReturnWritesNothing_data();
    void failedReturnWritesNothing();
    void deletePictureButtonFollowsMode_data();
    void deletePictureButtonFollowsMode();
    void journalListsOnlyThisTool();
    void journalSortPerColumn();
    void closingBringsToolListUp();
    void textsFollowLanguage();
};

void TestCard::showMakesFolderInsideImages_data()
{
    QTest::addColumn<QString>("identity");
    QTest::newRow("plain code") << "T1";
    QTest::newRow("parent folder") << "../x";
    QTest::newRow("separator") << "a/b";
    QTest::newRow("back slash") << "..\\..\\y";
    QTest::newRow("quote and Cyrillic") << "Дрель O'1";
}

void TestCard::showMakesFolderInsideImages()
{
    QFETCH(QString, identity);
    DeskFixture f;
    f.addTool(identity);
    const QString images = f.data().data(QStringLiteral("Images"));
    TfmCard_T& card = openCard(f, identity);

    const QDir folder(card.imagesFolder());
    QVERIFY(folder.exists());
    QVERIFY(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QCOMPARE(pictures(card), QStringList());
    // One folder directly under Data/Images, whatever the code holds.
    QDir parent(folder.canonicalPath());
    QVERIFY(parent.cdUp());
    QCOMPARE(parent.canonicalPath(), QDir(images).canonicalPath());
    QCOMPARE(QDir(images).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(!QFileInfo::exists(f.data().data(QStringLiteral("x"))));
    QVERIFY(!QFileInfo::exists(f.data().folder() + QStringLiteral("y")));
    if (identity == u"T1")
        QCOMPARE(folder.dirName(), QStringLiteral("T1"));
}

void TestCard::showListsFilesOnly()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    writeFile(card.imagesFolder() + QStringLiteral("b.jpg"), "b");
    writeFile(card.imagesFolder() + QStringLiteral("a.bmp"), "a");
    QVERIFY(QDir(card.imagesFolder()).mkdir(QStringLiteral("sub")));
    card.FormShow();
    QCOMPARE(pictures(card), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.jpg")}));
}

void TestCard::addPictureCopiesAndReplaces()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QTemporaryDir elsewhere;
    const QString first = elsewhere.filePath(QStringLiteral("first/photo.jpg"));
    const QString second = elsewhere.filePath(QStringLiteral("second/photo.jpg"));
    QVERIFY(QDir(elsewhere.path()).mkpath(QStringLiteral("first")));
    QVERIFY(QDir(elsewhere.path()).mkpath(QStringLiteral("second")));
    writeFile(first, "old picture");
    writeFile(second, "new picture");
    auto& dialogs = f.fakes().dialogs;

    dialogs.pictureAnswers.push_back(first);
    card.btAddImage->click();
    QCOMPARE(pictures(card), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(contents(card.imagesFolder() + QStringLiteral("photo.jpg")), QByteArray("old picture"));

    // The same name again replaces the file without a question.
    dialogs.pictureAnswers.push_back(second);
    card.btAddImage->click();
    QCOMPARE(pictures(card), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(contents(card.imagesFolder() + QStringLiteral("photo.jpg")), QByteArray("new picture"));
    QVERIFY(QFile::exists(first)); // the chosen file stays where it was

    // Cancelling the picture dialog changes nothing.
    card.btAddImage->click();
    QCOMPARE(pictures(card), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(dialogs.texts(QStringLiteral("picture")).size(), 3);
    QVERIFY(dialogs.texts(QStringLiteral("error")).isEmpty());
    QVERIFY(dialogs.texts(QStringLiteral("confirm")).isEmpty());
}

void TestCard::addPictureFailureShowsSystemText()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QTemporaryDir elsewhere;
    f.fakes().dialogs.pictureAnswers.push_back(elsewhere.filePath(QStringLiteral("gone.jpg")));
    card.btAddImage->click();
    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("No such file"), Qt::CaseInsensitive), qPrintable(errors.first()));
    QCOMPARE(pictures(card), QStringList());
}

void TestCard::deletePictureAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK deletes") << true;
    QTest::newRow("Cancel keeps") << false;
}

void TestCard::deletePictureAsksFirst()
{
    QFETCH(bool, answer);
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    writeFile(card.imagesFolder() + QStringLiteral("b.jpg"), "b");
    card.LoadImgList();
    card.ImgList->setCurrentRow(1);
    auto& dialogs = f.fakes().dialogs;
    dialogs.confirmAnswers.push_back(answer);
    card.btDellImage->click();
    QCOMPARE(dialogs.texts(QStringLiteral("confirm")), QStringList{f.app().forms().texts->rsDeleteImageConfirm});
    QCOMPARE(QFile::exists(card.imagesFolder() + QStringLiteral("b.jpg")), !answer);
    QVERIFY(QFile::exists(card.imagesFolder() + QStringLiteral("a.jpg")));
    QCOMPARE(pictures(card), answer ? QStringList{QStringLiteral("a.jpg")}
                                    : (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QVERIFY(dialogs.texts(QStringLiteral("error")).isEmpty());
}

void TestCard::deleteAndOpenNeedSelection()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    card.LoadImgList();
    QCOMPARE(card.ImgList->currentRow(), -1);
    f.fakes().dialogs.confirmAnswers.push_back(true);
    card.btDellImage->click();
    card.ImgListDblClick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY(f.fakes().shell.opened.isEmpty());
    QVERIFY(QFile::exists(card.imagesFolder() + QStringLiteral("a.jpg")));
}

void TestCard::deleteFailureShowsSystemText()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    writeFile(card.imagesFolder() + QStringLiteral("b.jpg"), "b");
    card.LoadImgList();
    card.ImgList->setCurrentRow(0);
    QVERIFY(QFile::remove(card.imagesFolder() + QStringLiteral("a.jpg"))); // gone behind the card's back
    f.fakes().dialogs.confirmAnswers.push_back(true);
    card.btDellImage->click();
    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY(!errors.first().isEmpty());
    QCOMPARE(pictures(card), QStringList{QStringLiteral("b.jpg")}); // refreshed all the same
}

void TestCard::openPictureThroughShell()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    card.LoadImgList();
    card.ImgList->setCurrentRow(0);
    emit card.ImgList->itemActivated(card.ImgList->item(0));
    QCOMPARE(f.fakes().shell.opened, QStringList{card.imagesFolder() + QStringLiteral("a.jpg")});
}

void TestCard::returnByOperator_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("administrator");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fio");
    QTest::addColumn<QString>("message");
    QTest::newRow("RU administrator") << "RU" << true << "Сдан" << "ОПЕРАТОР" << "Инструмент сдан оператором";
    QTest::newRow("EN operator") << "EN" << false << "passed" << "OPERATOR" << "Tool delivered by operator";
}

void TestCard::returnByOperator()
{
    QFETCH(QString, language);
    QFETCH(bool, administrator);
    QFETCH(QString, operation);
    QFETCH(QString, fio);
    QFETCH(QString, message);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\nHash=%2\n").arg(language, TfmCFG::digest(DeskFixture::kPassword)),
                  administrator ? DeskFixture::SignIn::Administrator : DeskFixture::SignIn::Operator);
    TfmMain& m = f.main();
    m.cbClear->setChecked(false); // the pair stays on the desk after the issue
    f.addRecipient(QStringLiteral("U1"));
    const qint64 toolKey = f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"), QStringLiteral("Bosch"),
                                     QStringLiteral("GSB 13"), QStringLiteral("хорошее"));
    f.addTool(QStringLiteral("T2"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    // The code changed since: the journal keeps to the lasting identity.
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool='T1-NEW' WHERE ID=?"), {toolKey});
    QVERIFY(m.toolSelected() && m.recipientSelected());

    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QVERIFY(card.btReturn->isEnabled());
    QVERIFY(!card.btHend->isEnabled());
    m.qTools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T2")); // the list moved meanwhile
    f.fakes().clock.current = QDateTime(QDate(2026, 5, 6), QTime(14, 15, 16, 900));
    card.btReturn->click();

    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.lastJournal("ID_U").toString(), QStringLiteral("0"));
    QCOMPARE(f.lastJournal("ID_T").toString(), QStringLiteral("T1"));
    QCOMPARE(f.lastJournal("ADate").toString(), QStringLiteral("2026-05-06"));
    QCOMPARE(f.lastJournal("ATime").toString(), QStringLiteral("14:15:16"));
    QCOMPARE(f.lastJournal("Operation").toString(), operation);
    QCOMPARE(f.lastJournal("FIO").toString(), fio);
    QCOMPARE(f.lastJournal("Note").toString(), QString());
    QCOMPARE(f.lastJournal("IType").toString(), QStringLiteral("Дрель"));
    QCOMPARE(f.lastJournal("Model").toString(), QStringLiteral("Bosch GSB 13"));
    QCOMPARE(f.lastJournal("Organization").toString(), QString());
    QVERIFY(!f.lastJournal("Organization").isNull());
    QCOMPARE(f.lastJournal("State").toString(), QStringLiteral("хорошее"));
    QCOMPARE(f.toolValue("T1-NEW", "Passed").toInt(), 1);
    QCOMPARE(f.toolValue("T1-NEW", "OwnerID").toString(), QStringLiteral("0"));
    QCOMPARE(f.toolValue("T2", "Passed").toInt(), 1);
    QVERIFY(f.toolValue("T2", "OwnerID").toString().isEmpty());

    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{message});
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("error")).isEmpty());
    QVERIFY(!m.toolSelected());
    QVERIFY(!m.recipientSelected());
    QVERIFY(!card.btReturn->isEnabled());
    QCOMPARE(card.btHend->isEnabled(), administrator); // manual issue stays the administrator's
    // The card's journal and the desk's both show the return on top.
    QCOMPARE(column(card.q, QStringLiteral("FIO")).value(0), fio);
    QCOMPARE(card.q.fetchedCount(), 2);
    QCOMPARE(card.DBGrid1->queryModel()->displayText(0, 1), QStringLiteral("14:15:16"));
    QCOMPARE(column(m.qHistory, QStringLiteral("FIO")).value(0), fio);
    QCOMPARE(m.qTools.integer(QStringLiteral("ID")), toolKey);
}

void TestCard::returnOfToolAlreadyBackWritesNothing()
{
    DeskFixture f;
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QVERIFY(card.btReturn->isEnabled());
    // Another desk takes it back while the card is open.
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 2);
    f.fakes().dialogs.clear();

    card.btReturn->click();
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(holder));
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY(!card.btReturn->isEnabled());
    QVERIFY(card.btHend->isEnabled());
    QCOMPARE(card.q.fetchedCount(), 2); // the other desk's return shows
    QCOMPARE(column(card.q, QStringLiteral("Operation")).value(0), QStringLiteral("Сдан"));
}

void TestCard::failedReturnWritesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("journal row refused")
        << "CREATE TRIGGER fail BEFORE INSERT ON History BEGIN SELECT RAISE(ABORT, 'disk says no'); END";
    QTest::newRow("tool change refused after the row")
        << "CREATE TRIGGER fail BEFORE UPDATE ON Tools BEGIN SELECT RAISE(ABORT, 'disk says no'); END";
}

void TestCard::failedReturnWritesNothing()
{
    QFETCH(QString, trigger);
    DeskFixture f;
    TfmMain& m = f.main();
    m.cbClear->setChecked(false);
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    f.db().exec(trigger);

    card.btReturn->click();
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("error")),
             QStringList{f.app().forms().texts->rsRequestError});
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("message")).isEmpty());
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(holder));
    QVERIFY(card.btReturn->isEnabled()); // still out: the return can be tried again
    QVERIFY(m.toolSelected() && m.recipientSelected());

    f.db().exec(QStringLiteral("DROP TRIGGER fail"));
    f.fakes().dialogs.clear();
    card.btReturn->click();
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")),
             QStringList{f.app().forms().texts->rsReturnedByOperator});
}

void TestCard::deletePictureButtonFollowsMode_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::newRow("administrator") << true;
    QTest::newRow("operator") << false;
}

void TestCard::deletePictureButtonFollowsMode()
{
    QFETCH(bool, administrator);
    DeskFixture f(QString(), administrator ? DeskFixture::SignIn::Administrator : DeskFixture::SignIn::Operator);
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QCOMPARE(card.btDellImage->isEnabled(), administrator);
    QVERIFY(card.btAddImage->isEnabled());
    QCOMPARE(card.btHend->isEnabled(), administrator); // a tool in the store
    QVERIFY(!card.btReturn->isEnabled());

    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    card.LoadImgList();
    card.ImgList->setCurrentRow(0);
    f.fakes().dialogs.confirmAnswers.push_back(true);
    card.btDellImage->click();
    QCOMPARE(QFile::exists(card.imagesFolder() + QStringLiteral("a.jpg")), !administrator);
}

void TestCard::journalListsOnlyThisTool()
{
    DeskFixture f;
    f.addTool(QStringLiteral("O'Brien"));
    addJournal(f, QStringLiteral("O'Brien"), QStringLiteral("Выдан"), QStringLiteral("first"));
    addJournal(f, QStringLiteral("other"), QStringLiteral("Выдан"), QStringLiteral("not mine"));
    addJournal(f, QStringLiteral("O'Brien%"), QStringLiteral("Выдан"), QStringLiteral("not mine either"));
    addJournal(f, QStringLiteral("O'Brien"), QStringLiteral("Сдан"), QStringLiteral("second"));
    TfmCard_T& card = openCard(f, QStringLiteral("O'Brien"));
    QCOMPARE(column(card.q, QStringLiteral("FIO")), (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
    QCOMPARE(card.DBGrid1->queryModel()->displayText(0, 1), QStringLiteral("10:11:12"));
    QCOMPARE(card.DBGrid1->queryModel()->displayText(0, 0), QStringLiteral("02.01.2026"));
}

void TestCard::journalSortPerColumn()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    addJournal(f, QStringLiteral("T1"), QStringLiteral("Сдан"), QStringLiteral("Борисов"));
    addJournal(f, QStringLiteral("T1"), QStringLiteral("Выдан"), QStringLiteral("Антонов"));
    addJournal(f, QStringLiteral("T1"), QStringLiteral("Выдан"), QStringLiteral("Васильев"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    const QStringList newestFirst = {QStringLiteral("Васильев"), QStringLiteral("Антонов"), QStringLiteral("Борисов")};
    const QStringList ascending = {QStringLiteral("Антонов"), QStringLiteral("Борисов"), QStringLiteral("Васильев")};
    const QStringList descending = {QStringLiteral("Васильев"), QStringLiteral("Борисов"), QStringLiteral("Антонов")};
    constexpr int fio = 3;
    constexpr int operation = 2;
    QCOMPARE(column(card.q, QStringLiteral("FIO")), newestFirst);

    emit card.DBGrid1->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    emit card.DBGrid1->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), descending);
    emit card.DBGrid1->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    // Another column starts ascending; coming back goes on from this column's own direction.
    emit card.DBGrid1->titleClicked(operation);
    QCOMPARE(card.q.sort(), QStringLiteral("Operation ASC"));
    QCOMPARE(column(card.q, QStringLiteral("Operation")).value(0), QStringLiteral("Выдан"));
    emit card.DBGrid1->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), descending);

    // A reload forgets every direction.
    card.reloadJournal();
    QCOMPARE(column(card.q, QStringLiteral("FIO")), newestFirst);
    emit card.DBGrid1->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestCard::closingBringsToolListUp()
{
    DeskFixture f;
    TfmMain& m = f.main();
    f.addTool(QStringLiteral("T1"));
    m.Panel4Click();
    QCOMPARE(m.pConteiner->currentWidget(), m.pMain);
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    f.fakes().dialogs.showModal(card); // closed as by its close button
    QCOMPARE(m.pConteiner->currentWidget(), static_cast<QWidget*>(f.app().forms().tools));
}

void TestCard::textsFollowLanguage()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QCOMPARE(card.PageControl1->tabText(0), QStringLiteral("История выдачи"));
    QCOMPARE(card.PageControl1->tabText(1), QStringLiteral("Фотографии"));
    QCOMPARE(card.values[3]->field(), QStringLiteral("SNumber"));
    QCOMPARE(card.captions[3]->text(), QStringLiteral("Серийны №"));
    f.app().forms().cfg->cbLeng->setCurrentIndex(1);
    QCOMPARE(card.windowTitle(), QStringLiteral("Tool card"));
    QCOMPARE(card.PageControl1->tabText(0), QStringLiteral("History"));
    QCOMPARE(card.PageControl1->tabText(1), QStringLiteral("Photo"));
    QCOMPARE(card.values[3]->accessibleName(), QStringLiteral("Serial №"));
    QCOMPARE(card.DBGrid1->accessibleName(), QStringLiteral("Tool card"));
    QCOMPARE(card.DBGrid1->queryModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Time"));
}

QTEST_MAIN(TestCard)
#include "tst_card.moc"
