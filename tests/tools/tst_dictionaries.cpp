// The three dictionaries of places, tool types and names: entries added by
// typing, removed through the grid's menu after a question, each kind in its
// own table, texts in both languages.
#include "core/Messages.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "support/DeskFixture.h"
#include "tools/TfmDict.h"
#include "widgets/DbGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QStringList kTables = {QStringLiteral("NAIMENOVANIYA"), QStringLiteral("MESTO"), QStringLiteral("TOOLTYPES")};

TfmDict& dictionary(DeskFixture& f, TfmDict::Kind kind)
{
    switch (kind) {
    case TfmDict::Kind::Naim:
        return f.window<TfmDict>("TfmDict_Naim");
    case TfmDict::Kind::Mesto:
        return f.window<TfmDict>("TfmDict_Mesto");
    case TfmDict::Kind::Types:
        break;
    }
    return f.window<TfmDict>("TfmDict_Types");
}

// The stored entries of one table, oldest first; the name is the test's own.
QStringList stored(DeskFixture& f, const QString& table)
{
    QStringList result;
    Statement q = f.db().run(QStringLiteral("SELECT AField FROM %1 ORDER BY ID").arg(table));
    while (q->next())
        result << q->value(0).toString();
    return result;
}

// Starts the dictionary of kind on exactly these entries.
void fill(DeskFixture& f, TfmDict& dict, const QStringList& entries)
{
    f.db().exec(QStringLiteral("DELETE FROM %1").arg(dict.tableName()));
    for (const QString& e : entries)
        f.db().exec(QStringLiteral("INSERT INTO %1 (AField) VALUES (?)").arg(dict.tableName()), {e});
    dict.Query.reopen();
}

void type(TfmDict& dict, const QString& text)
{
    dict.edField->setText(text);
}

} // namespace

Q_DECLARE_METATYPE(TfmDict::Kind)

class TestDictionaries : public QObject
{
    Q_OBJECT
private slots:
    void addTakesTrimmedText_data();
    void addTakesTrimmedText();
    void sameTextTwiceGivesTwoEntries_data();
    void sameTextTwiceGivesTwoEntries();
    void eachKindKeepsItsOwnTable_data();
    void eachKindKeepsItsOwnTable();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void deleteOnEmptyListDoesNothing();
    void deleteKeyInGridDeletes();
    void failedAddKeepsTypedText();
    void entriesReadEveryRow();
    void textsFollowLanguage_data();
    void textsFollowLanguage();
    void typesKeepALoanPeriod();
};

void TestDictionaries::addTakesTrimmedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // empty: nothing is added and the box keeps its text
    QTest::newRow("plain") << "Дрель"
                           << "Дрель";
    QTest::newRow("blanks around") << "   Перфоратор  "
                                   << "Перфоратор";
    QTest::newRow("tab and blanks around, blank inside kept") << "\t Ключ 17 \t"
                                                              << "Ключ 17";
    QTest::newRow("quotes stored as typed") << "Ключ 'рожковый' \"17\"; --"
                                            << "Ключ 'рожковый' \"17\"; --";
    QTest::newRow("blank") << "    "
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestDictionaries::addTakesTrimmedText()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Types");
    fill(f, dict, {QStringLiteral("Шуруповерт")});
    QSignalSpy changed(&dict, &TfmDict::entriesChanged);

    type(dict, typed);
    dict.btAdd->click();

    const QStringList before{QStringLiteral("Шуруповерт")};
    const QStringList after = expected.isEmpty() ? before : before + QStringList{expected};
    QCOMPARE(stored(f, QStringLiteral("TOOLTYPES")), after);
    QCOMPARE(dict.entries(), after);
    QCOMPARE(dict.DBGrid->queryModel()->rowCount(), after.size());
    QCOMPARE(dict.edField->text(), expected.isEmpty() ? typed : QString());
    QCOMPARE(changed.count(), expected.isEmpty() ? 0 : 1);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestDictionaries::sameTextTwiceGivesTwoEntries_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("button") << false;
    QTest::newRow("Enter in the box") << true;
}

void TestDictionaries::sameTextTwiceGivesTwoEntries()
{
    QFETCH(bool, byEnter);
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Mesto");
    fill(f, dict, {});
    QSignalSpy changed(&dict, &TfmDict::entriesChanged);

    for (int i = 0; i < 2; ++i) {
        if (byEnter) {
            type(dict, QStringLiteral("Склад 1"));
            QTest::keyClick(dict.edField, Qt::Key_Return); // one entry per Enter
        } else {
            type(dict, QStringLiteral("Склад 1"));
            dict.btAdd->click();
        }
    }
    const QStringList twice{QStringLiteral("Склад 1"), QStringLiteral("Склад 1")};
    QCOMPARE(stored(f, QStringLiteral("MESTO")), twice);
    QCOMPARE(dict.entries(), twice);
    QCOMPARE(changed.count(), 2);
}

void TestDictionaries::eachKindKeepsItsOwnTable_data()
{
    QTest::addColumn<TfmDict::Kind>("kind");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::newRow("names") << TfmDict::Kind::Naim << "TfmDict_Naim"
                           << "NAIMENOVANIYA";
    QTest::newRow("places") << TfmDict::Kind::Mesto << "TfmDict_Mesto"
                            << "MESTO";
    QTest::newRow("types") << TfmDict::Kind::Types << "TfmDict_Types"
                           << "TOOLTYPES";
}

void TestDictionaries::eachKindKeepsItsOwnTable()
{
    QFETCH(TfmDict::Kind, kind);
    QFETCH(QString, window);
    QFETCH(QString, table);
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = dictionary(f, kind);
    QCOMPARE(dict.objectName(), window);
    QCOMPARE(dict.kind(), kind);
    QVERIFY(f.app().windows().contains(&dict));
    QVERIFY(dict.Query.isOpen()); // opened at start for the editors' lists

    // The editors' "..." buttons reach this window through the navigator.
    const QDialog* opened = nullptr;
    f.fakes().dialogs.modalScripts.push_back([&opened](QDialog& w) { opened = &w; });
    f.app().openDictionary(kind);
    QCOMPARE(opened, static_cast<const QDialog*>(&dict));

    QHash<QString, QStringList> before;
    for (const QString& t : kTables)
        before[t] = stored(f, t);
    QSignalSpy told(&f.app(), &Navigator::dictionaryChanged);

    type(dict, QStringLiteral("Запись"));
    dict.btAddClick();
    QCOMPARE(told.count(), 1); // open editors learn of it
    QCOMPARE(told.at(0).at(0).value<TfmDict::Kind>(), kind);

    for (const QString& t : kTables) {
        const QStringList expected = t == table ? before[t] + QStringList{QStringLiteral("Запись")} : before[t];
        QCOMPARE(stored(f, t), expected);
    }
    QCOMPARE(dict.entries().last(), QStringLiteral("Запись"));
}

void TestDictionaries::deleteAsksFirst_data()
{
    QTest::addColumn<QList<bool>>("answers"); // none queued: the question is cancelled
    QTest::addColumn<bool>("deleted");
    QTest::newRow("OK") << QList<bool>{true} << true;
    QTest::newRow("Cancel") << QList<bool>{false} << false;
    QTest::newRow("no answer") << QList<bool>{} << false;
}

void TestDictionaries::deleteAsksFirst()
{
    QFETCH(QList<bool>, answers);
    QFETCH(bool, deleted);
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Mesto");
    const QStringList three{QStringLiteral("Склад"), QStringLiteral("Цех"), QStringLiteral("Гараж")};
    fill(f, dict, three);
    QSignalSpy changed(&dict, &TfmDict::entriesChanged);
    f.fakes().dialogs.confirmAnswers.assign(answers.begin(), answers.end());

    // The row picked in the grid is the one deleted.
    dict.show();
    dict.DBGrid->setCurrentIndex(dict.DBGrid->model()->index(1, 0));
    QCOMPARE(dict.Query.recNo(), 1);
    dict.N1->trigger();

    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("confirm")),
             QStringList{QStringLiteral("Удалить выбранную запись?")});
    const QStringList expected = deleted ? QStringList{QStringLiteral("Склад"), QStringLiteral("Гараж")} : three;
    QCOMPARE(stored(f, QStringLiteral("MESTO")), expected);
    QCOMPARE(dict.entries(), expected);
    QCOMPARE(changed.count(), deleted ? 1 : 0);
}

void TestDictionaries::deleteOnEmptyListDoesNothing()
{
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Types");
    fill(f, dict, {});
    QSignalSpy changed(&dict, &TfmDict::entriesChanged);
    f.fakes().dialogs.confirmAnswers = {true};

    dict.N1Click();

    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("confirm")).size(), 1); // still asked
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("error")).isEmpty());
    QVERIFY(stored(f, QStringLiteral("TOOLTYPES")).isEmpty());
    QCOMPARE(changed.count(), 0);
}

void TestDictionaries::deleteKeyInGridDeletes()
{
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Naim");
    fill(f, dict, {QStringLiteral("Дрель"), QStringLiteral("Пила")});
    f.fakes().dialogs.confirmAnswers = {true};
    dict.Query.setRecNo(0);

    QTest::keyClick(dict.DBGrid, Qt::Key_Delete);

    QCOMPARE(stored(f, QStringLiteral("NAIMENOVANIYA")), QStringList{QStringLiteral("Пила")});
}

void TestDictionaries::failedAddKeepsTypedText()
{
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Mesto");
    fill(f, dict, {QStringLiteral("Склад")});
    QSignalSpy changed(&dict, &TfmDict::entriesChanged);
    f.db().changeSchema(QStringLiteral("DROP TABLE MESTO"));

    type(dict, QStringLiteral("Цех"));
    dict.btAddClick();

    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(dict.edField->text(), QStringLiteral("Цех"));
    QCOMPARE(dict.Query.state(), Query::State::Browse);
    QCOMPARE(dict.entries(), QStringList{QStringLiteral("Склад")}); // no half-made row
    QCOMPARE(changed.count(), 0);
}

void TestDictionaries::entriesReadEveryRow()
{
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = f.window<TfmDict>("TfmDict_Types");
    QStringList many;
    for (int i = 0; i < 1200; ++i) // more than the first pages the grid reads
        many << QStringLiteral("Тип %1").arg(i);
    {
        Connection::Transaction t(f.db());
        fill(f, dict, many);
        t.commit();
    }
    dict.Query.setRecNo(3);

    QCOMPARE(dict.entries(), many);
    QCOMPARE(dict.Query.recNo(), 3); // reading them does not move the current row
}

void TestDictionaries::textsFollowLanguage_data()
{
    QTest::addColumn<TfmDict::Kind>("kind");
    QTest::addColumn<QStringList>("ru"); // caption, column, hint
    QTest::addColumn<QStringList>("en");
    QTest::newRow("names") << TfmDict::Kind::Naim
                           << QStringList{"Справочник наименований", "Наименования", "Введите наименование"}
                           << QStringList{"Directory of titles", "Titles", "Enter the name"};
    QTest::newRow("places") << TfmDict::Kind::Mesto << QStringList{"Справочник мест", "Места", "Введите место"}
                            << QStringList{"Directory of places", "Places", "Enter place"};
    QTest::newRow("types") << TfmDict::Kind::Types << QStringList{"Справочник типов", "Тип", "Введите тип"}
                           << QStringList{"Directory of types", "Types", "Enter type"};
}

void TestDictionaries::textsFollowLanguage()
{
    QFETCH(TfmDict::Kind, kind);
    QFETCH(QStringList, ru);
    QFETCH(QStringList, en);
    DeskFixture f;
    QVERIFY(f.started());
    TfmDict& dict = dictionary(f, kind);
    const auto check = [&](const QStringList& texts, const QString& add, const QString& remove) {
        QCOMPARE(dict.windowTitle(), texts[0]);
        QCOMPARE(dict.DBGrid->queryModel()->headerData(0, Qt::Horizontal).toString(), texts[1]);
        QCOMPARE(dict.edField->placeholderText(), texts[2]);
        QCOMPARE(dict.btAdd->text(), add);
        QCOMPARE(dict.N1->text(), remove);
        QCOMPARE(dict.edField->accessibleName(), texts[2]);
        QCOMPARE(dict.DBGrid->accessibleName(), texts[0]);
    };
    check(ru, QStringLiteral("Добавить"), QStringLiteral("Удалить выбранную запись"));

    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    check(en, QStringLiteral("Add"), QStringLiteral("Delete selected entry"));
    // The width survives the switch; the types' leaves room for the loan period.
    QCOMPARE(dict.DBGrid->columnWidth(0), kind == TfmDict::Kind::Types ? 250 : 360);

    f.fakes().dialogs.confirmAnswers = {false};
    dict.N1Click();
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("confirm")), QStringList{QStringLiteral("Delete selected entry?")});

    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(0);
    check(ru, QStringLiteral("Добавить"), QStringLiteral("Удалить выбранную запись"));
}

void TestDictionaries::typesKeepALoanPeriod()
{
    DeskFixture f;
    QVERIFY(f.started());
    auto& types = f.window<TfmDict>("TfmDict_Types");
    QVERIFY(DeskFixture::find<QLabel>(types, "lbLoanDays")->buddy() == types.edLoanDays);
    for (const char* name : {"Дрель", "Ключ"}) {
        types.edField->setText(QString::fromUtf8(name));
        types.btAddClick();
    }
    // The box follows the chosen entry; Enter saves its days for that type only.
    QVERIFY(types.Query.locate(QStringLiteral("AField"), QStringLiteral("Ключ")));
    QCOMPARE(types.edLoanDays->text(), QString());
    QTest::keyClicks(types.edLoanDays, QStringLiteral("14"));
    QTest::keyClick(types.edLoanDays, Qt::Key_Return);
    const auto days = [&f](const char* name) {
        return f.db().scalar(QStringLiteral("SELECT LoanDays FROM TOOLTYPES WHERE AField = ?"),
                             {QString::fromUtf8(name)});
    };
    QCOMPARE(days("Ключ").toInt(), 14);
    QVERIFY(days("Дрель").isNull());
    QVERIFY(types.Query.locate(QStringLiteral("AField"), QStringLiteral("Дрель")));
    QCOMPARE(types.edLoanDays->text(), QString());
    QVERIFY(types.Query.locate(QStringLiteral("AField"), QStringLiteral("Ключ")));
    QCOMPARE(types.edLoanDays->text(), QStringLiteral("14"));
    // Not a number of days: said so, nothing changed.
    types.edLoanDays->setText(QStringLiteral("-2"));
    QTest::keyClick(types.edLoanDays, Qt::Key_Return);
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{f.session().texts().rsLoanDaysNotNumber});
    QCOMPARE(days("Ключ").toInt(), 14);
    // Emptied: no period again.
    types.edLoanDays->clear();
    QTest::keyClick(types.edLoanDays, Qt::Key_Return);
    QVERIFY(days("Ключ").isNull());
    // The other dictionaries have no such box.
    QVERIFY(!f.window<TfmDict>("TfmDict_Mesto").edLoanDays);
}

QTEST_MAIN(TestDictionaries)
#include "tst_dictionaries.moc"
