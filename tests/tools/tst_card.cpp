// The tool card opened as the tool list opens it: its picture folder, the
// pictures in it, the operator's return of a tool that is out, its journal
// and the access mode.
#include "core/DeskSelection.h"
#include "core/Messages.h"
#include "core/Session.h"
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

// The card's show-time work on the tool made current in the shared tool
// list, without showing it.
TfmCard_T& openCard(DeskFixture& f, const QString& identity)
{
    Query& tools = f.session().qTools;
    tools.reopen();
    if (!tools.locate(QStringLiteral("ID_Tool_Unique"), identity))
        qFatal("no tool %s", qPrintable(identity));
    auto& card = f.window<TfmCard_T>("TfmCard_T");
    card.loadCurrentTool();
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
    const auto* list = DeskFixture::find<QListWidget>(card, "ImgList");
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
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
    QPushButton* add = DeskFixture::find<QPushButton>(card, "btAddImage");

    dialogs.pictureAnswers.push_back(first);
    add->click();
    QCOMPARE(pictures(card), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(contents(card.imagesFolder() + QStringLiteral("photo.jpg")), QByteArray("old picture"));

    // The same name again replaces the file without a question.
    dialogs.pictureAnswers.push_back(second);
    add->click();
    QCOMPARE(pictures(card), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(contents(card.imagesFolder() + QStringLiteral("photo.jpg")), QByteArray("new picture"));
    QVERIFY(QFile::exists(first)); // the chosen file stays where it was

    // Cancelling the picture dialog changes nothing.
    add->click();
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
    DeskFixture::find<QPushButton>(card, "btAddImage")->click();
    const QStringList errors = f.fakes().dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    // The system's text, in the interface language as Qt words it.
    const QString missing = QCoreApplication::translate("QIODevice", "No such file or directory");
    QVERIFY2(errors.first().contains(missing, Qt::CaseInsensitive), qPrintable(errors.first()));
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
    DeskFixture::find<QListWidget>(card, "ImgList")->setCurrentRow(1);
    auto& dialogs = f.fakes().dialogs;
    dialogs.confirmAnswers.push_back(answer);
    DeskFixture::find<QPushButton>(card, "btDellImage")->click();
    QCOMPARE(dialogs.texts(QStringLiteral("confirm")), QStringList{f.session().texts().rsDeleteImageConfirm});
    QCOMPARE(QFile::exists(card.imagesFolder() + QStringLiteral("b.jpg")), !answer);
    QVERIFY(QFile::exists(card.imagesFolder() + QStringLiteral("a.jpg")));
    QCOMPARE(pictures(card),
             answer ? QStringList{QStringLiteral("a.jpg")}
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
    QCOMPARE(DeskFixture::find<QListWidget>(card, "ImgList")->currentRow(), -1);
    f.fakes().dialogs.confirmAnswers.push_back(true);
    DeskFixture::find<QPushButton>(card, "btDellImage")->click();
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
    DeskFixture::find<QListWidget>(card, "ImgList")->setCurrentRow(0);
    QVERIFY(QFile::remove(card.imagesFolder() + QStringLiteral("a.jpg"))); // gone behind the card's back
    f.fakes().dialogs.confirmAnswers.push_back(true);
    DeskFixture::find<QPushButton>(card, "btDellImage")->click();
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
    auto* list = DeskFixture::find<QListWidget>(card, "ImgList");
    list->setCurrentRow(0);
    emit list->itemActivated(list->item(0));
    QCOMPARE(f.fakes().shell.opened, QStringList{card.imagesFolder() + QStringLiteral("a.jpg")});
    QVERIFY(f.fakes().dialogs.shown.isEmpty());

    // A desktop with no program for the file: told, not silent.
    f.fakes().shell.succeeds = false;
    emit list->itemActivated(list->item(0));
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")),
             QStringList{QStringLiteral("Не удалось открыть файл (нет программы для него?): ") + card.imagesFolder()
                         + QStringLiteral("a.jpg")});
}

void TestCard::returnByOperator_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("administrator");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fio");
    QTest::addColumn<QString>("message");
    QTest::newRow("RU administrator") << "RU" << true << "Сдан"
                                      << "ОПЕРАТОР"
                                      << "Инструмент сдан оператором";
    QTest::newRow("EN operator") << "EN" << false << "passed"
                                 << "OPERATOR"
                                 << "Tool delivered by operator";
}

void TestCard::returnByOperator()
{
    QFETCH(QString, language);
    QFETCH(bool, administrator);
    QFETCH(QString, operation);
    QFETCH(QString, fio);
    QFETCH(QString, message);
    // The stored digest of DeskFixture::kPassword ("admin").
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\nHash=21232F297A57A5A743894A0E4A801FC3\n").arg(language),
                  administrator ? DeskFixture::SignIn::Administrator : DeskFixture::SignIn::Operator);
    QCOMPARE(f.session().isAdministrator(), administrator);
    DeskSelection& desk = f.desk();
    desk.setClearAfterEvent(false); // the pair stays on the desk after the issue
    f.addRecipient(QStringLiteral("U1"));
    const qint64 toolKey = f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"), QStringLiteral("Bosch"),
                                     QStringLiteral("GSB 13"), QStringLiteral("хорошее"));
    f.addTool(QStringLiteral("T2"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    // The code changed since: the journal keeps to the lasting identity.
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool='T1-NEW' WHERE ID=?"), {toolKey});
    QVERIFY(desk.toolSelected() && desk.recipientSelected());

    // Opened as the storekeeper opens it: a double click on the tool in the list.
    f.app().showToolList();
    Query& tools = f.session().qTools;
    QVERIFY(tools.locate(QStringLiteral("ID_Tool_Unique"), QStringLiteral("T1")));
    auto& card = f.window<TfmCard_T>("TfmCard_T");
    QPushButton* returnButton = DeskFixture::find<QPushButton>(card, "btReturn");
    QPushButton* handButton = DeskFixture::find<QPushButton>(card, "btHend");
    bool returnOffered = false;
    bool handOffered = true;
    qint64 listedAfterReturn = 0;
    f.fakes().dialogs.modalScripts.push_back([&](QDialog&) {
        returnOffered = returnButton->isEnabled();
        handOffered = handButton->isEnabled();
        tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T2")); // the list moved meanwhile
        f.fakes().clock.current = QDateTime(QDate(2026, 5, 6), QTime(14, 15, 16, 900));
        returnButton->click();
        listedAfterReturn = tools.integer(QStringLiteral("ID"));
    });
    f.window<TfmTools>("TfmTools").DBGrid1DblClick();
    QCOMPARE(card.ID, QStringLiteral("T1"));
    QVERIFY(returnOffered);
    QVERIFY(!handOffered);

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
    QVERIFY(!desk.toolSelected());
    QVERIFY(!desk.recipientSelected());
    QVERIFY(!returnButton->isEnabled());
    QCOMPARE(handButton->isEnabled(), administrator); // manual issue stays the administrator's
    // The card's journal and the desk's both show the return on top.
    QCOMPARE(column(card.q, QStringLiteral("FIO")).value(0), fio);
    QCOMPARE(card.q.fetchedCount(), 2);
    QCOMPARE(DeskFixture::find<DbGrid>(card, "DBGrid1")->queryModel()->displayText(0, 1), QStringLiteral("14:15:16"));
    QCOMPARE(column(f.session().qHistory, QStringLiteral("FIO")).value(0), fio);
    // The list searched again while the card was open and found the card's tool.
    QCOMPARE(listedAfterReturn, toolKey);
    QCOMPARE(tools.integer(QStringLiteral("ID")), toolKey);
}

void TestCard::returnOfToolAlreadyBackWritesNothing()
{
    DeskFixture f;
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QPushButton* returnButton = DeskFixture::find<QPushButton>(card, "btReturn");
    QVERIFY(returnButton->isEnabled());
    // Another desk takes it back while the card is open.
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    QCOMPARE(f.journalCount(), 2);
    f.fakes().dialogs.clear();

    returnButton->click();
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(holder));
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QVERIFY(!returnButton->isEnabled());
    QVERIFY(DeskFixture::find<QPushButton>(card, "btHend")->isEnabled());
    QCOMPARE(card.q.fetchedCount(), 2); // the other desk's return shows
    QCOMPARE(column(card.q, QStringLiteral("Operation")).value(0), QStringLiteral("Сдан"));
}

void TestCard::failedReturnWritesNothing_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("statement");
    QTest::newRow("journal row refused") << "History"
                                         << "INSERT";
    QTest::newRow("tool change refused after the row") << "Tools"
                                                       << "UPDATE";
}

void TestCard::failedReturnWritesNothing()
{
    QFETCH(QString, table);
    QFETCH(QString, statement);
    DeskFixture f;
    DeskSelection& desk = f.desk();
    desk.setClearAfterEvent(false);
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    QPushButton* returnButton = DeskFixture::find<QPushButton>(card, "btReturn");
    f.refuseWrites(table, statement);

    returnButton->click();
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("error")), QStringList{f.session().texts().rsRequestError});
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("message")).isEmpty());
    QCOMPARE(f.journalCount(), 1);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 0);
    QCOMPARE(f.toolValue("T1", "OwnerID").toString(), QString::number(holder));
    QVERIFY(returnButton->isEnabled()); // still out: the return can be tried again
    QVERIFY(desk.toolSelected() && desk.recipientSelected());

    f.acceptWrites(table, statement);
    f.fakes().dialogs.clear();
    returnButton->click();
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.toolValue("T1", "Passed").toInt(), 1);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList{f.session().texts().rsReturnedByOperator});
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
    QCOMPARE(DeskFixture::find<QPushButton>(card, "btDellImage")->isEnabled(), administrator);
    QVERIFY(DeskFixture::find<QPushButton>(card, "btAddImage")->isEnabled());
    QCOMPARE(DeskFixture::find<QPushButton>(card, "btHend")->isEnabled(), administrator); // a tool in the store
    QVERIFY(!DeskFixture::find<QPushButton>(card, "btReturn")->isEnabled());

    writeFile(card.imagesFolder() + QStringLiteral("a.jpg"), "a");
    card.LoadImgList();
    DeskFixture::find<QListWidget>(card, "ImgList")->setCurrentRow(0);
    f.fakes().dialogs.confirmAnswers.push_back(true);
    DeskFixture::find<QPushButton>(card, "btDellImage")->click();
    QCOMPARE(QFile::exists(card.imagesFolder() + QStringLiteral("a.jpg")), !administrator);

    // The card follows a change of the access mode while the program runs.
    f.session().setAccessMode(administrator ? Session::AccessMode::Operator : Session::AccessMode::Administrator);
    QCOMPARE(DeskFixture::find<QPushButton>(card, "btDellImage")->isEnabled(), !administrator);
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
    const QueryModel* journal = DeskFixture::find<DbGrid>(card, "DBGrid1")->queryModel();
    QCOMPARE(journal->displayText(0, 1), QStringLiteral("10:11:12"));
    QCOMPARE(journal->displayText(0, 0), QStringLiteral("02.01.2026"));
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
    DbGrid* grid = DeskFixture::find<DbGrid>(card, "DBGrid1");

    emit grid->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    emit grid->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), descending);
    emit grid->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    // Another column starts ascending; coming back goes on from this column's own direction.
    emit grid->titleClicked(operation);
    QCOMPARE(card.q.sort(), QStringLiteral("Operation ASC"));
    QCOMPARE(column(card.q, QStringLiteral("Operation")).value(0), QStringLiteral("Выдан"));
    emit grid->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), descending);

    // A reload forgets every direction.
    card.reloadJournal();
    QCOMPARE(column(card.q, QStringLiteral("FIO")), newestFirst);
    emit grid->titleClicked(fio);
    QCOMPARE(column(card.q, QStringLiteral("FIO")), ascending);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestCard::closingBringsToolListUp()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    f.main().Panel4Click();
    const QStackedWidget* content = f.control<QStackedWidget>("TfmMain", "pConteiner");
    QCOMPARE(content->currentWidget(), f.control<QWidget>("TfmMain", "pMain"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    f.fakes().dialogs.showModal(card); // closed as by its close button
    QCOMPARE(content->currentWidget(), &f.window<QWidget>("TfmTools"));
}

void TestCard::textsFollowLanguage()
{
    DeskFixture f;
    f.addTool(QStringLiteral("T1"));
    TfmCard_T& card = openCard(f, QStringLiteral("T1"));
    const QTabWidget* pages = DeskFixture::find<QTabWidget>(card, "PageControl1");
    const DbText* serial = DeskFixture::find<DbText>(card, "DBText4");
    const DbGrid* journal = DeskFixture::find<DbGrid>(card, "DBGrid1");
    QCOMPARE(pages->tabText(0), QStringLiteral("История выдачи"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Фотографии"));
    QCOMPARE(serial->field(), QStringLiteral("SNumber"));
    QCOMPARE(DeskFixture::find<QLabel>(card, "Label4")->text(), QStringLiteral("Серийны №"));
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    QCOMPARE(card.windowTitle(), QStringLiteral("Tool card"));
    QCOMPARE(pages->tabText(0), QStringLiteral("History"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Photo"));
    // A value is read out as itself, with its caption as description.
    QCOMPARE(serial->accessibleDescription(), QStringLiteral("Serial №"));
    QCOMPARE(serial->accessibleName(), serial->text());
    QCOMPARE(journal->accessibleName(), QStringLiteral("Tool card"));
    QCOMPARE(journal->queryModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Time"));
}

QTEST_MAIN(TestCard)
#include "tst_card.moc"
