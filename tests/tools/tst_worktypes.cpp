// Work types: the stored tool list and its edits, the work types window
// and its editor, and the work type choice of the tool list.
#include "core/Session.h"
#include "core/WorkTypeToolList.h"
#include "support/DeskFixture.h"
#include "tools/TfmTools.h"
#include "tools/TfmWorkTypes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestWorkTypes : public QObject
{
    Q_OBJECT
private slots:
    void removeKeepsTheOthers_data();
    void removeKeepsTheOthers();
    void oddIdentitiesRoundTrip();
    void addKeepsOneEntry();

    void addByCode();
    void addRefusals();
    void removeAsksFirst();
    void toolKeepsItsWorkTypeAfterACodeChange();
    void writtenOffToolListedHereNotInTheToolList();
    void editorAddsRenamesAndCancels();
    void deleteWorkType();
    void toolListOpensTheWindowAndFollowsChanges();
    void choicesStayApart();

private:
    static qint64 addWorkType(DeskFixture& f, const QString& name, const QString& stored);
    static QString stored(DeskFixture& f, qint64 key);
    static QStringList codes(Query& q);
    // The window on work type key, as after a click on it.
    static TfmWorkTypes& openOn(DeskFixture& f, qint64 key);
    static void addCode(DeskFixture& f, const QString& code);
};

qint64 TestWorkTypes::addWorkType(DeskFixture& f, const QString& name, const QString& storedList)
{
    f.db().exec("INSERT INTO WORKTYPES (AField, AField_2) VALUES (?, ?)", {name, storedList});
    return f.db().scalar("SELECT MAX(ID) FROM WORKTYPES").toLongLong();
}

QString TestWorkTypes::stored(DeskFixture& f, qint64 key)
{
    return f.db().scalar("SELECT AField_2 FROM WORKTYPES WHERE ID=?", {key}).toString();
}

QStringList TestWorkTypes::codes(Query& q)
{
    while (q.canFetchMore())
        q.fetchMore();
    QStringList list;
    for (int row = 0; row < q.fetchedCount(); ++row)
        list << q.value(row, q.fieldIndex("ID_Tool")).toString();
    list.sort();
    return list;
}

TfmWorkTypes& TestWorkTypes::openOn(DeskFixture& f, qint64 key)
{
    f.app().openWorkTypes();
    auto& window = f.window<TfmWorkTypes>("TfmWorkTypes");
    Query& workTypes = f.session().qWorkTypes;
    workTypes.reopen();
    if (!workTypes.locate("ID", key))
        qFatal("no work type %lld", key);
    return window;
}

void TestWorkTypes::addCode(DeskFixture& f, const QString& code)
{
    QLineEdit* box = f.control<QLineEdit>("TfmWorkTypes", "edID");
    box->setText(code); // typed or scanned; QTest cannot type Cyrillic
    QTest::keyClick(box, Qt::Key_Return);
}

void TestWorkTypes::removeKeepsTheOthers_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<QString>("after");
    QTest::newRow("middle") << "'A1','B7','C12'"
                            << "B7"
                            << "'A1','C12'";
    QTest::newRow("first") << "'A1','B7','C12'"
                           << "A1"
                           << "'B7','C12'";
    QTest::newRow("last") << "'A1','B7','C12'"
                          << "C12"
                          << "'A1','B7'";
    QTest::newRow("only") << "'A1'"
                          << "A1"
                          << "";
    QTest::newRow("duplicates all go") << "'A1','B7','A1'"
                                       << "A1"
                                       << "'B7'";
    QTest::newRow("not there") << "'A1','B7'"
                               << "A"
                               << "'A1','B7'";
    QTest::newRow("a prefix of others") << "'A','A,1','A A','''A'''"
                                        << "A"
                                        << "'A,1','A A','''A'''";
    QTest::newRow("with a comma") << "'A','A,1','B'"
                                  << "A,1"
                                  << "'A','B'";
    QTest::newRow("with quotes") << "'X'',''A1','A1'"
                                 << "A1"
                                 << "'X'',''A1'";
    QTest::newRow("with blanks") << "'A 1','A1',' A1'"
                                 << "A 1"
                                 << "'A1',' A1'";
    QTest::newRow("case counts") << "'a1','A1'"
                                 << "A1"
                                 << "'a1'";
}

void TestWorkTypes::removeKeepsTheOthers()
{
    QFETCH(QString, before);
    QFETCH(QString, identity);
    QFETCH(QString, after);
    WorkTypeToolList list(before);
    list.remove(identity);
    QCOMPARE(list.stored(), after);
}

void TestWorkTypes::oddIdentitiesRoundTrip()
{
    const QStringList odd = {"A,1", "O'Brien", "'", "A 1", ",", "''", "Ключ 10"};
    WorkTypeToolList list;
    for (const QString& identity : odd)
        QVERIFY(list.add(identity));
    QCOMPARE(WorkTypeToolList(list.stored()).identities(), odd);
    QCOMPARE(list.stored().left(17), QStringLiteral("'A,1','O''Brien',"));
}

void TestWorkTypes::addKeepsOneEntry()
{
    WorkTypeToolList list("'A1','X'',''B7'");
    QVERIFY(!list.add("A1"));
    QVERIFY(list.add("B7")); // only inside another entry's text
    QVERIFY(list.add("a1")); // another identity
    QCOMPARE(list.stored(), QStringLiteral("'A1','X'',''B7','B7','a1'"));
}

void TestWorkTypes::addByCode()
{
    DeskFixture f;
    f.addTool("T1");
    f.addTool("Dr-7");
    f.addTool("Ключ'1");
    const qint64 key = addWorkType(f, "Монтаж", "");
    TfmWorkTypes& window = openOn(f, key);
    addCode(f, "dr-7"); // other letter case: the identity as stored
    addCode(f, "T1");
    addCode(f, " T1 "); // twice: one entry
    addCode(f, "КЛЮЧ'1");
    QCOMPARE(stored(f, key), QStringLiteral("'Dr-7','T1','Ключ''1'"));
    QCOMPARE(codes(window.qTools_as_Work), (QStringList{"Dr-7", "T1", "Ключ'1"}));
    QVERIFY(f.control<QLineEdit>("TfmWorkTypes", "edID")->text().isEmpty());
    QVERIFY(f.fakes().dialogs.shown.isEmpty());

    // A click in the list of all tools offers its code.
    Query& all = window.qAllTools;
    QVERIFY(all.locate("ID_Tool", "T1"));
    window.Grid_All_ToolsCellClick();
    QCOMPARE(f.control<QLineEdit>("TfmWorkTypes", "edID")->text(), QStringLiteral("T1"));
}

void TestWorkTypes::addRefusals()
{
    DeskFixture f;
    f.addTool("T1");
    const qint64 key = addWorkType(f, "Монтаж", "'T1'");
    openOn(f, key);
    addCode(f, "NOPE");
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{"ID не найден"});
    QCOMPARE(stored(f, key), QStringLiteral("'T1'"));
    QVERIFY(f.control<QLineEdit>("TfmWorkTypes", "edID")->text().isEmpty());
    f.fakes().dialogs.clear();
    addCode(f, "   "); // an empty box does nothing
    QVERIFY(f.fakes().dialogs.shown.isEmpty());

    // With no work type at all, adding does nothing.
    f.db().exec("DELETE FROM WORKTYPES");
    f.session().qWorkTypes.reopen();
    addCode(f, "T1");
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM WORKTYPES").toInt(), 0);
}

void TestWorkTypes::removeAsksFirst()
{
    DeskFixture f;
    for (const char* t : {"A1", "B,7", "C 12"})
        f.addTool(t);
    const qint64 key = addWorkType(f, "Монтаж", "'A1','B,7','C 12'");
    TfmWorkTypes& window = openOn(f, key);
    QVERIFY(window.qTools_as_Work.locate("ID_Tool", "B,7"));
    f.fakes().dialogs.confirmAnswers = {false};
    f.control<QPushButton>("TfmWorkTypes", "btDell_Tool")->click();
    QCOMPARE(f.fakes().dialogs.texts("confirm"), QStringList{"Удалить выбранную запись?"});
    QCOMPARE(stored(f, key), QStringLiteral("'A1','B,7','C 12'"));

    QVERIFY(window.qTools_as_Work.locate("ID_Tool", "B,7"));
    f.fakes().dialogs.confirmAnswers = {true};
    f.control<QPushButton>("TfmWorkTypes", "btDell_Tool")->click();
    QCOMPARE(stored(f, key), QStringLiteral("'A1','C 12'"));
    QCOMPARE(codes(window.qTools_as_Work), (QStringList{"A1", "C 12"}));

    for (const char* code : {"A1", "C 12"}) {
        QVERIFY(window.qTools_as_Work.locate("ID_Tool", code));
        f.fakes().dialogs.confirmAnswers = {true};
        window.btDell_ToolClick();
    }
    QCOMPARE(stored(f, key), QString());
    QVERIFY(codes(window.qTools_as_Work).isEmpty());
}

void TestWorkTypes::toolKeepsItsWorkTypeAfterACodeChange()
{
    DeskFixture f;
    f.addTool("OLD");
    f.addTool("OTHER");
    const qint64 key = addWorkType(f, "Монтаж", "");
    TfmWorkTypes& window = openOn(f, key);
    addCode(f, "OLD");
    f.db().exec("UPDATE Tools SET ID_Tool='NEW' WHERE ID_Tool='OLD'");
    window.LoadTools();
    QCOMPARE(codes(window.qTools_as_Work), QStringList{"NEW"});

    f.app().showToolList();
    auto* box = f.control<QComboBox>("TfmTools", "cbWorkTypes");
    box->setCurrentIndex(0);
    f.window<TfmTools>("TfmTools").btSearchClick();
    QCOMPARE(codes(f.session().qTools), QStringList{"NEW"});
}

void TestWorkTypes::writtenOffToolListedHereNotInTheToolList()
{
    DeskFixture f;
    f.addTool("T1");
    f.addTool("GONE");
    f.markWrittenOff(QStringLiteral("GONE"));
    const qint64 key = addWorkType(f, "Монтаж", "");
    TfmWorkTypes& window = openOn(f, key);
    addCode(f, "GONE");
    addCode(f, "T1");
    QCOMPARE(codes(window.qTools_as_Work), (QStringList{"GONE", "T1"}));
    f.app().showToolList();
    f.control<QComboBox>("TfmTools", "cbWorkTypes")->setCurrentIndex(0);
    f.window<TfmTools>("TfmTools").btSearchClick();
    QCOMPARE(codes(f.session().qTools), QStringList{"T1"});
}

void TestWorkTypes::editorAddsRenamesAndCancels()
{
    DeskFixture f;
    f.app().openWorkTypes();
    auto type = [](const QString& name, const char* button) {
        return [name, button](QDialog& editor) {
            auto* box = DeskFixture::find<QLineEdit>(editor, "DBEdit1");
            box->setText(name);
            emit box->textEdited(name); // as typed; QTest cannot type Cyrillic
            DeskFixture::find<QPushButton>(editor, button)->click();
        };
    };
    FakeDialogs& dialogs = f.fakes().dialogs;
    dialogs.modalScripts.push_back(type("Монтаж", "btOK"));
    f.control<QPushButton>("TfmWorkTypes", "btAdd")->click();
    dialogs.modalScripts.push_back(type("Сварка", "btCancel"));
    f.control<QPushButton>("TfmWorkTypes", "btAdd")->click();
    dialogs.modalScripts.push_back([](QDialog&) {}); // closed without a button
    f.control<QPushButton>("TfmWorkTypes", "btAdd")->click();
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM WORKTYPES").toInt(), 1);
    QCOMPARE(f.db().scalar("SELECT AField FROM WORKTYPES").toString(), QStringLiteral("Монтаж"));
    QCOMPARE(f.db().scalar("SELECT AField_2 FROM WORKTYPES").toString(), QString());

    // The tool list offers the new name at once.
    auto* choice = f.control<QComboBox>("TfmTools", "cbWorkTypes");
    QCOMPARE(choice->count(), 2);
    QCOMPARE(choice->itemText(0), QStringLiteral("Монтаж"));

    dialogs.modalScripts.push_back(type("Монтаж труб", "btOK"));
    f.control<QPushButton>("TfmWorkTypes", "btEdit")->click();
    QCOMPARE(f.db().scalar("SELECT AField FROM WORKTYPES").toString(), QStringLiteral("Монтаж труб"));
    QCOMPARE(choice->itemText(0), QStringLiteral("Монтаж труб"));
    dialogs.modalScripts.push_back(type("Ничего", "btCancel"));
    f.control<QPushButton>("TfmWorkTypes", "btEdit")->click();
    QCOMPARE(f.db().scalar("SELECT AField FROM WORKTYPES").toString(), QStringLiteral("Монтаж труб"));
    QVERIFY(dialogs.texts("error").isEmpty());
}

void TestWorkTypes::deleteWorkType()
{
    DeskFixture f;
    addWorkType(f, "Первый", "");
    const qint64 second = addWorkType(f, "Второй", "");
    openOn(f, second);
    f.fakes().dialogs.confirmAnswers = {false};
    f.control<QPushButton>("TfmWorkTypes", "btDelete")->click();
    QCOMPARE(f.db().scalar("SELECT COUNT(*) FROM WORKTYPES").toInt(), 2);
    f.fakes().dialogs.confirmAnswers = {true};
    f.control<QPushButton>("TfmWorkTypes", "btDelete")->click();
    QCOMPARE(f.db().scalar("SELECT AField FROM WORKTYPES").toString(), QStringLiteral("Первый"));
}

void TestWorkTypes::toolListOpensTheWindowAndFollowsChanges()
{
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    const qint64 key = addWorkType(f, "Монтаж", "'T2'");
    f.app().showToolList();
    auto* button = f.control<QPushButton>("TfmTools", "btWorkTypes");
    QVERIFY(button->isVisibleTo(&f.window<QWidget>("TfmTools")));
    button->click();
    QVERIFY(f.window<QWidget>("TfmWorkTypes").isVisible());

    // A choice made on the list stays when the work type changes elsewhere.
    auto* choice = f.control<QComboBox>("TfmTools", "cbWorkTypes");
    choice->setCurrentIndex(0);
    f.window<TfmTools>("TfmTools").cbWorkTypesChange();
    openOn(f, key);
    addCode(f, "T1");
    QCOMPARE(choice->currentIndex(), 0);
    f.window<TfmTools>("TfmTools").btSearchClick();
    QCOMPARE(codes(f.session().qTools), (QStringList{"T1", "T2"}));
}

void TestWorkTypes::choicesStayApart()
{
    DeskFixture f;
    f.addTool("T1");
    f.addTool("T2");
    addWorkType(f, "Одно имя", "'T1'");
    addWorkType(f, "Одно имя", "'T2'");
    f.app().showToolList();
    auto* choice = f.control<QComboBox>("TfmTools", "cbWorkTypes");
    choice->setCurrentIndex(1);
    auto& list = f.window<TfmTools>("TfmTools");
    list.cbWorkTypesChange();
    // The work types window moving to another work type does not change the list's choice.
    f.session().qWorkTypes.first();
    list.btSearchClick();
    QCOMPARE(codes(f.session().qTools), QStringList{"T2"});
}

QTEST_MAIN(TestWorkTypes)
#include "tst_worktypes.moc"
