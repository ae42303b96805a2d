// The journal under the desk: title-click sorting, notes, the time column,
// the tool each row names and the even spreading of columns.
#include "config/TfmSettings.h"
#include "core/DeskSelection.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QtTest>

class TestJournal : public QObject
{
    Q_OBJECT
private slots:
    void titleClickToggles();
    void eventAfterSortBringsNewestFirst();
    void noteEditing_data();
    void noteEditing();
    void noteOnEmptyJournalDoesNothing();
    void timeColumn_data();
    void timeColumn();
    void columnsSpreadEvenly_data();
    void columnsSpreadEvenly();
    void toolOfEachRow();
    void coreAnnouncesNewRowsOnly_data();
    void coreAnnouncesNewRowsOnly();
    void newRowGoesOnTopAsStored_data();
    void newRowGoesOnTopAsStored();

private:
    static void addRows(DeskFixture& f);
    static QStringList column(const DeskFixture& f, int c);
    static QStringList shownRows(const DeskFixture& f);
};

void TestJournal::addRows(DeskFixture& f)
{
    const char* rows[][3] = {{"2026-01-02", "Борисов", "08:00:00"},
                             {"2026-01-01", "аксенов", "09:00:00"},
                             {"2026-01-03", "Васильев", "07:00:00"}};
    for (const auto& r : rows)
        f.db().exec("INSERT INTO History (ADate, FIO, ATime, Note, Operation) VALUES (?,?,?,'','Выдан')",
                    {QString::fromUtf8(r[0]), QString::fromUtf8(r[1]), QString::fromUtf8(r[2])});
    f.session().qHistory.reopen();
}

QStringList TestJournal::column(const DeskFixture& f, int c)
{
    QStringList values;
    const QueryModel* model = f.control<DbGrid>("TfmMain", "grid_History")->queryModel();
    for (int row = 0; row < model->rowCount(); ++row)
        values << model->displayText(row, c);
    return values;
}

// Every cell the journal shows, row by row.
QStringList TestJournal::shownRows(const DeskFixture& f)
{
    QStringList rows;
    const QueryModel* model = f.control<DbGrid>("TfmMain", "grid_History")->queryModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->displayText(row, c);
        rows << cells.join(u'|');
    }
    return rows;
}

void TestJournal::titleClickToggles()
{
    DeskFixture f;
    addRows(f);
    TfmMain& m = f.main();
    // The titles are clicked on screen.
    m.show();
    QCOMPARE(column(f, 2), (QStringList{"Васильев", "аксенов", "Борисов"})); // newest first
    m.grid_HistoryTitleClick(0);
    QCOMPARE(f.session().qHistory.sort(), QStringLiteral("ADate ASC"));
    QCOMPARE(column(f, 0), (QStringList{"01.01.2026", "02.01.2026", "03.01.2026"}));
    m.grid_HistoryTitleClick(0);
    QCOMPARE(f.session().qHistory.sort(), QStringLiteral("ADate DESC"));
    QCOMPARE(column(f, 0), (QStringList{"03.01.2026", "02.01.2026", "01.01.2026"}));
    QTest::mouseClick(
        f.control<DbGrid>("TfmMain", "grid_History")->horizontalHeader()->viewport(), Qt::LeftButton, {},
        QPoint(f.control<DbGrid>("TfmMain", "grid_History")->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    QCOMPARE(f.session().qHistory.sort(), QStringLiteral("FIO ASC"));
    QCOMPARE(column(f, 2), (QStringList{"аксенов", "Борисов", "Васильев"})); // letter case ignored
}

void TestJournal::eventAfterSortBringsNewestFirst()
{
    DeskFixture f;
    addRows(f);
    f.addRecipient("U1", "Яковлев");
    f.addTool("T1");
    f.main().grid_HistoryTitleClick(2);
    f.scan("U1");
    f.scan("T1");
    QCOMPARE(f.session().qHistory.sort(), QString());
    QCOMPARE(column(f, 2).first(), QStringLiteral("Яковлев"));
    QCOMPARE(f.session().qHistory.recNo(), 0);
}

void TestJournal::noteEditing_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ok") << std::optional<QString>(QStringLiteral("сломан 'кейс'")) << "сломан 'кейс'";
    QTest::newRow("cancel") << std::optional<QString>() << "старое";
    QTest::newRow("empty clears") << std::optional<QString>(QString()) << "";
}

void TestJournal::noteEditing()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, stored);
    DeskFixture f;
    addRows(f);
    TfmMain& m = f.main();
    f.db().exec("UPDATE History SET Note='старое' WHERE FIO='аксенов'");
    f.session().qHistory.reopen();
    QVERIFY(f.session().qHistory.locate("FIO", QStringLiteral("аксенов")));
    f.fakes().dialogs.inputAnswers.push_back(answer);
    m.grid_HistoryDblClick();
    QCOMPARE(f.fakes().dialogs.texts("input"), QStringList{QStringLiteral("Enter note|Примечание: |старое")});
    const QVariant note = f.db().scalar("SELECT Note FROM History WHERE FIO='аксенов'");
    QCOMPARE(note.toString(), stored);
    QVERIFY(!note.isNull());
    QCOMPARE(f.session().qHistory.recNo(), answer ? 0 : 1); // a saved note re-opens the journal at its top
    QCOMPARE(f.journalCount(), 3);
}

void TestJournal::noteOnEmptyJournalDoesNothing()
{
    DeskFixture f;
    f.main().grid_HistoryDblClick();
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestJournal::timeColumn_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("showTime");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cell");
    QTest::newRow("RU time") << "RU" << true << "Время"
                             << "09:00:00";
    QTest::newRow("EN time") << "EN" << true << "Time"
                             << "09:00:00";
    QTest::newRow("RU type") << "RU" << false << "Тип инструмента"
                             << "";
    QTest::newRow("EN type") << "EN" << false << "Tool"
                             << "";
}

void TestJournal::timeColumn()
{
    QFETCH(QString, language);
    QFETCH(bool, showTime);
    QFETCH(QString, title);
    QFETCH(QString, cell);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\nShowTime=%2\n").arg(language, showTime ? "1" : "0"));
    addRows(f);
    TfmMain& m = f.main();
    m.show(); // the show handler applies the time switch once
    const QueryModel* model = f.control<DbGrid>("TfmMain", "grid_History")->queryModel();
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), title);
    QCOMPARE(model->displayText(1, 3), cell);
    f.control<QCheckBox>("TfmSettings", "cbShowTime")->setChecked(!showTime);
    QCOMPARE(f.data().readIni().contains(QStringLiteral("ShowTime=%1").arg(showTime ? "0" : "1")), true);
    QCOMPARE(model->columns().at(3).field, showTime ? QStringLiteral("IType") : QStringLiteral("ATime"));
}

void TestJournal::columnsSpreadEvenly_data()
{
    QTest::addColumn<QString>("codeKey"); // the settings file's lines, none when empty
    QTest::addColumn<QString>("nameKey");
    QTest::addColumn<bool>("showCode");
    QTest::addColumn<bool>("showName");
    QTest::newRow("as delivered") << "HistoryColumnView_ID_Tool=-1"
                                  << "HistoryColumnView_Naim=-1" << true << true;
    QTest::newRow("a file older than the columns") << ""
                                                   << "" << true << true;
    QTest::newRow("no tool code") << "HistoryColumnView_ID_Tool=0"
                                  << "HistoryColumnView_Naim=1" << false << true;
    QTest::newRow("neither") << "HistoryColumnView_ID_Tool=0"
                             << "HistoryColumnView_Naim=False" << false << false;
}

// Hidden columns take no share; the settings page shows and hides the tool's
// columns at once, written to the file as the tool list's are.
void TestJournal::columnsSpreadEvenly()
{
    QFETCH(QString, codeKey);
    QFETCH(QString, nameKey);
    QFETCH(bool, showCode);
    QFETCH(bool, showName);
    QString ini = TestData().readIni();
    QVERIFY(ini.contains(QStringLiteral("HistoryColumnView_ID_Tool=-1\n")));
    ini.replace(QStringLiteral("HistoryColumnView_ID_Tool=-1\n"), codeKey.isEmpty() ? QString() : codeKey + u'\n');
    ini.replace(QStringLiteral("HistoryColumnView_Naim=-1\n"), nameKey.isEmpty() ? QString() : nameKey + u'\n');
    DeskFixture f(ini);
    TfmMain& m = f.main();
    m.resize(1123, 576);
    m.show();
    m.resize(900, 500);
    QCoreApplication::processEvents();
    DbGrid* grid = f.control<DbGrid>("TfmMain", "grid_History");
    auto checkSpread = [&](bool code, bool name) {
        QCOMPARE(grid->isColumnHidden(8), !code);
        QCOMPARE(grid->isColumnHidden(9), !name);
        const int visible = 8 + int(code) + int(name);
        const int expected = (grid->contentsRect().width() - visible - 8) / visible;
        for (int c = 0; c < 10; ++c) {
            if (!grid->isColumnHidden(c))
                QCOMPARE(grid->columnWidth(c), expected);
        }
    };
    checkSpread(showCode, showName);
    auto* codeBox = f.control<QCheckBox>("TfmSettings", "cbHistoryToolID");
    auto* nameBox = f.control<QCheckBox>("TfmSettings", "cbHistoryNaim");
    QCOMPARE(codeBox->isChecked(), showCode);
    QCOMPARE(nameBox->isChecked(), showName);

    codeBox->setChecked(!showCode);
    checkSpread(!showCode, showName);
    QVERIFY(f.data().readIni().contains(
        QStringLiteral("HistoryColumnView_ID_Tool=%1").arg(showCode ? QStringLiteral("0") : QStringLiteral("-1"))));
    nameBox->setChecked(!showName);
    checkSpread(!showCode, !showName);
    QVERIFY(f.data().readIni().contains(
        QStringLiteral("HistoryColumnView_Naim=%1").arg(showName ? QStringLiteral("0") : QStringLiteral("-1"))));
}

// Each row names its tool by identity (the desk, the tool card) or by code
// (the recipient card's return); the journal shows the tool as registered
// now, and nothing for a tool no longer registered.
void TestJournal::toolOfEachRow()
{
    DeskFixture f;
    const qint64 holder = f.addRecipient(QStringLiteral("U1"), QStringLiteral("Петров Пётр"),
                                         QStringLiteral("ООО Ромашка"));
    f.db().exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Passed) VALUES (?, ?, ?, %1)")
                    .arg(f.db().dialect().sqlTrue()),
                {QStringLiteral("T002"), QStringLiteral("T002"), QStringLiteral("Hammer")});
    f.addTool(QStringLiteral("D1"));
    const qint64 second = f.addTool(QStringLiteral("D2"));
    f.addTool(QStringLiteral("GONE"));
    f.db().exec(QStringLiteral("UPDATE Tools SET Naim = 'Дрель ' || ID_Tool WHERE ID_Tool IN ('D1', 'D2')"));
    for (const char* tool : {"T002", "D1", "D2", "GONE"}) {
        f.scan(QStringLiteral("U1"));
        f.scan(QLatin1String(tool));
    }
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool = 'D2B' WHERE ID_Tool = 'D2'"));
    QVERIFY(f.desk().returnFromHolder(second, QString::number(holder), QDateTime::currentDateTime()));
    QCOMPARE(f.lastJournal(QStringLiteral("ID_T")).toString(), QStringLiteral("D2B")); // by its code
    // A different tool whose code is another's identity: the identity wins.
    f.addTool(QStringLiteral("X-OLD"));
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool = 'D1-NEW', Naim = 'Перфоратор' WHERE ID_Tool = 'D1'"));
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool = 'D1' WHERE ID_Tool = 'X-OLD'"));
    f.db().exec(QStringLiteral("DELETE FROM Tools WHERE ID_Tool = 'GONE'"));
    f.session().qHistory.reopen();

    TfmMain& m = f.main();
    m.show();
    // Newest first; the journal's own columns stay where they were.
    QCOMPARE(column(f, 8), (QStringList{"D2B", "", "D2B", "D1-NEW", "T002"}));
    QCOMPARE(column(f, 9), (QStringList{"Дрель D2", "", "Дрель D2", "Перфоратор", "Hammer"}));
    QCOMPARE(column(f, 1).constLast(), QStringLiteral("Выдан"));
    QCOMPARE(column(f, 2).constLast(), QStringLiteral("Петров Пётр"));
    QCOMPARE(column(f, 5).constLast(), QStringLiteral("ООО Ромашка"));
    QCOMPARE(f.journalCount(), 5); // looked up, nothing written

    const QueryModel* model = f.control<DbGrid>("TfmMain", "grid_History")->queryModel();
    QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("ID инструмента"));
    QCOMPARE(model->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Tool ID"));
    QCOMPARE(model->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Name"));

    // A title click sorts by the looked-up values, letter case ignored.
    f.db().exec(QStringLiteral("UPDATE Tools SET ID_Tool = 'a7' WHERE ID_Tool = 'T002'"));
    m.grid_HistoryTitleClick(8);
    QCOMPARE(f.session().qHistory.sort(), QStringLiteral("ID_Tool ASC"));
    QStringList codes = column(f, 8);
    codes.removeAll(QString()); // where the engine puts a missing value is its own
    QCOMPARE(codes, (QStringList{"a7", "D1-NEW", "D2B", "D2B"}));
    m.grid_HistoryTitleClick(8);
    codes = column(f, 8);
    codes.removeAll(QString());
    QCOMPARE(codes, (QStringList{"D2B", "D2B", "D1-NEW", "a7"}));
}

namespace {

enum class CoreEvent { DeskReturn, RefusedHolder, OperatorReturn, HolderCardReturn };

} // namespace

void TestJournal::coreAnnouncesNewRowsOnly_data()
{
    QTest::addColumn<CoreEvent>("event");
    QTest::addColumn<int>("newRows"); // and announcements
    QTest::newRow("desk return") << CoreEvent::DeskReturn << 1;
    QTest::newRow("refused: not the holder") << CoreEvent::RefusedHolder << 0;
    QTest::newRow("operator's return from the tool card") << CoreEvent::OperatorReturn << 1;
    QTest::newRow("return from the holder's card") << CoreEvent::HolderCardReturn << 1;
}

// The core writes its row and says so; reading the journal again is the
// business of whoever shows it, so a journal nobody answers for stays as it was.
void TestJournal::coreAnnouncesNewRowsOnly()
{
    QFETCH(CoreEvent, event);
    QFETCH(int, newRows);
    DeskFixture f;
    const qint64 holder = f.addRecipient(QStringLiteral("U1"));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."));
    const qint64 tool = f.addTool(QStringLiteral("T1"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1")); // issued to U1
    f.control<QCheckBox>("TfmSettings", "cbReturnToolOnlyOwner")->setChecked(true);

    DeskSelection& desk = f.desk();
    QObject::disconnect(&desk, &DeskSelection::journalChanged, &f.main(), nullptr);
    Query& journal = f.session().qHistory;
    const int fetched = journal.fetchedCount();
    const QVariant top = journal.value(0, journal.fieldIndex(QStringLiteral("ID")));
    QSignalSpy reopened(&journal, &Query::reopened);
    QSignalSpy added(&journal, &Query::rowsAdded);
    QSignalSpy changed(&journal, &Query::rowChanged);
    QSignalSpy announced(&desk, &DeskSelection::journalChanged);
    const int rowsBefore = f.journalCount();
    const QDateTime now = QDateTime::currentDateTime();

    switch (event) {
    case CoreEvent::DeskReturn:
    case CoreEvent::RefusedHolder:
        desk.selectCode(event == CoreEvent::DeskReturn ? QStringLiteral("U1") : QStringLiteral("U2"));
        desk.selectCode(QStringLiteral("T1"));
        QCOMPARE(desk.record(now),
                 event == CoreEvent::DeskReturn ? EventRecorder::Result::Returned
                                                : EventRecorder::Result::RefusedHolder);
        break;
    case CoreEvent::OperatorReturn:
        QVERIFY(
            desk.returnByOperator(f.toolValue(QStringLiteral("T1"), QStringLiteral("ID_Tool_Unique")).toString(), now));
        break;
    case CoreEvent::HolderCardReturn:
        QVERIFY(desk.returnFromHolder(tool, QString::number(holder), now));
        break;
    }

    QCOMPARE(f.journalCount(), rowsBefore + newRows);
    QCOMPARE(announced.count(), newRows);
    QCOMPARE(reopened.count(), 0);
    QCOMPARE(added.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(journal.fetchedCount(), fetched);
    QCOMPARE(journal.value(0, journal.fieldIndex(QStringLiteral("ID"))), top);
}

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"

namespace {

enum class Before { Nothing, OtherDeskRow, TitleSort };

} // namespace

void TestJournal::newRowGoesOnTopAsStored_data()
{
    QTest::addColumn<Before>("before");
    QTest::addColumn<bool>("operatorReturn");
    QTest::addColumn<bool>("readAgain");
    QTest::newRow("desk event") << Before::Nothing << false << false;
    QTest::newRow("operator's return") << Before::Nothing << true << false;
    QTest::newRow("another desk's row not shown yet") << Before::OtherDeskRow << false << true;
    QTest::newRow("title-click sort") << Before::TitleSort << false << true;
}

// The event's row goes in on top as it was written, without reading the
// journal again, and shows exactly what reading it again would show; where
// that cannot be known (rows of other desks not shown yet, a sort) the
// journal is read again.
void TestJournal::newRowGoesOnTopAsStored()
{
    QFETCH(Before, before);
    QFETCH(bool, operatorReturn);
    QFETCH(bool, readAgain);
    DeskFixture f;
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Петров П.П."), QStringLiteral("Цех 2"));
    f.addTool(QStringLiteral("T1"), QStringLiteral("Дрель"), QStringLiteral("Bosch"), QStringLiteral("GSB 13"),
              QStringLiteral("новый"));
    f.db().exec(QStringLiteral("UPDATE Tools SET Naim = 'Дрель ударная' WHERE ID_Tool = 'T1'"));
    f.scan(QStringLiteral("U1"));
    f.scan(QStringLiteral("T1"));
    f.main().show();
    Query& journal = f.session().qHistory;
    if (before == Before::OtherDeskRow)
        f.db().exec("INSERT INTO History (ADate, FIO, ATime, Note, Operation) VALUES "
                    "('2026-01-02','Другой','08:00:00','','Выдан')");
    if (before == Before::TitleSort)
        f.main().grid_HistoryTitleClick(2);

    QSignalSpy reopened(&journal, &Query::reopened);
    if (operatorReturn) {
        QVERIFY(
            f.desk().returnByOperator(f.toolValue(QStringLiteral("T1"), QStringLiteral("ID_Tool_Unique")).toString(),
                                      QDateTime::currentDateTime()));
    } else {
        f.scan(QStringLiteral("U1"));
        f.scan(QStringLiteral("T1"));
    }
    QCOMPARE(reopened.count(), readAgain ? 1 : 0);
    QCOMPARE(journal.recNo(), 0);
    QVERIFY(journal.sort().isEmpty());
    const QStringList shown = shownRows(f);
    QCOMPARE(shown.size(), before == Before::OtherDeskRow ? 3 : 2);
    QVERIFY(shown.first().contains(QStringLiteral("|T1|Дрель ударная")));

    journal.reopen();
    QCOMPARE(shown, shownRows(f));
}
