// Two desks on one database: each desk's idle tick shows the events recorded
// at the other, without a scan, where the storekeeper left the journal and
// without losing what the storekeeper is doing.
#include "data/ChangeWatch.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/DbGrid.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

class TestLiveJournal : public QObject
{
    Q_OBJECT
private slots:
    void otherDesksEventShowsOnTheTick();
    void reloadsOnlyForOtherDesks();
    void journalKeepsItsPlace_data();
    void journalKeepsItsPlace();
    void journalKeepsItsSort();
    void waitsWhileTheStorekeeperIsBusy_data();
    void waitsWhileTheStorekeeperIsBusy();
    void deskShowsToolsAsStoredNow();
    void toolListInViewShowsToolsAsStoredNow();
};

namespace {

constexpr const char* kNotHeard = "desk A heard nothing of desk B's change";

// Desk A is the test's program; desk B a second program on its Data folder.
struct TwoDesks {
    TwoDesks()
    {
        a.addRecipient(QStringLiteral("U1"));
        a.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."));
        for (const char* tool : {"T1", "T2", "T3"})
            a.addTool(QLatin1String(tool));
        b = std::make_unique<ProgramRun>(a.data().folder());
        a.main().TimerTimer(); // whatever B's start wrote is shown
        noticesA = std::make_unique<QSignalSpy>(a.main().findChild<ChangeWatch*>(), &ChangeWatch::noticed);
    }

    // On a server B's notice reaches A over A's connection, collected as A's
    // looks collect it (a file is looked at directly): wait for it before
    // A's next tick. False when it never came.
    [[nodiscard]] bool noticeReachesA()
    {
        if (!a.session().connection().dialect().isServer())
            return true;
        ++noticesDue;
        ChangeWatch* watch = a.main().findChild<ChangeWatch*>();
        for (int tries = 0; noticesA->count() < noticesDue && tries < 500; ++tries) {
            watch->collectNotices();
            if (noticesA->count() < noticesDue)
                QTest::qWait(10);
        }
        return noticesA->count() >= noticesDue;
    }
    // A change saved at B on its own, outside a transaction; false when A
    // never heard of it.
    [[nodiscard]] bool execAtB(const QString& sql)
    {
        sessionB().connection().exec(sql);
        return noticeReachesA();
    }

    Session& sessionB() { return b->app.session(); }
    // Records an event at desk B; the new journal row's key, 0 when A never
    // heard of it.
    [[nodiscard]] qint64 recordAtB(const QString& recipient, const QString& tool)
    {
        DeskSelection& desk = sessionB().desk();
        desk.selectCode(recipient);
        desk.selectCode(tool);
        desk.record(QDateTime::currentDateTime());
        if (!noticeReachesA())
            return 0;
        return sessionB().connection().scalar(QStringLiteral("SELECT MAX(ID) FROM History")).toLongLong();
    }
    Query& journalA() { return a.session().qHistory; }
    qint64 journalKeyA(int row)
    {
        return journalA().value(row, journalA().fieldIndex(QStringLiteral("ID"))).toLongLong();
    }
    qint64 currentKeyA() { return journalA().integer(QStringLiteral("ID")); }
    DbGrid* gridA() { return a.control<DbGrid>("TfmMain", "grid_History"); }
    QLineEdit* entryA() { return a.control<QLineEdit>("TfmMain", "edInput"); }

    DeskFixture a;
    std::unique_ptr<ProgramRun> b;
    std::unique_ptr<QSignalSpy> noticesA;
    int noticesDue = 0;
};

enum class Busy { Typing, ToolBeingEdited, NoteBeingEdited };

} // namespace

Q_DECLARE_METATYPE(Busy)

void TestLiveJournal::otherDesksEventShowsOnTheTick()
{
    TwoDesks d;
    QVERIFY(d.a.started() && d.b->started);
    const qint64 event = d.recordAtB(QStringLiteral("U2"), QStringLiteral("T1"));
    QVERIFY2(event > 0, kNotHeard);
    QVERIFY(d.journalA().isEmpty() || d.journalKeyA(0) != event);

    d.a.main().TimerTimer();
    QCOMPARE(d.journalKeyA(0), event);
    QCOMPARE(d.gridA()->queryModel()->rowCount(), 1);
    QCOMPARE(d.journalA().text(QStringLiteral("FIO")), QStringLiteral("Петров П.П."));
}

void TestLiveJournal::reloadsOnlyForOtherDesks()
{
    TwoDesks d;
    QSignalSpy reloads(&d.journalA(), &Query::reopened);
    for (int tick = 0; tick < 3; ++tick) {
        d.a.main().TimerTimer();
        d.b->app.main()->TimerTimer(); // B idles too, and writes its log back
    }
    QCOMPARE(reloads.count(), 0);

    d.a.scan(QStringLiteral("U1"));
    d.a.scan(QStringLiteral("T1"));
    QCOMPARE(d.a.journalCount(), 1);
    const int ownReloads = reloads.count();
    QCOMPARE(ownReloads, 0); // its own row went in on top without reading the journal again
    QCOMPARE(d.journalA().fetchedCount(), 1);
    for (int tick = 0; tick < 4; ++tick) {
        d.b->app.main()->TimerTimer(); // B empties the log A wrote
        d.a.main().TimerTimer();
    }
    QCOMPARE(reloads.count(), ownReloads); // its own event is shown already

    QVERIFY2(d.recordAtB(QStringLiteral("U2"), QStringLiteral("T2")) > 0, kNotHeard);
    for (int tick = 0; tick < 4; ++tick) {
        d.a.main().TimerTimer();
        d.b->app.main()->TimerTimer();
    }
    QCOMPARE(reloads.count(), ownReloads + 1); // once, however often the log is emptied
}

void TestLiveJournal::journalKeepsItsPlace_data()
{
    QTest::addColumn<int>("topRow");
    QTest::addColumn<int>("currentRow");
    // At the top the new row comes into sight above; scrolled down, the rows
    // looked at stay where they are.
    QTest::newRow("at the top") << 0 << 2;
    QTest::newRow("scrolled down") << 60 << 63;
    QTest::newRow("current above the view") << 60 << 10;
}

void TestLiveJournal::journalKeepsItsPlace()
{
    QFETCH(int, topRow);
    QFETCH(int, currentRow);
    TwoDesks d;
    {
        Connection::Transaction t(d.a.db());
        for (int i = 0; i < 200; ++i)
            d.a.db().exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, FIO) VALUES ('U1', 'T3', ?)"),
                          {QStringLiteral("row %1").arg(i)});
        t.commit();
    }
    d.journalA().reopen();
    TfmMain& m = d.a.main();
    m.resize(1123, 576);
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    while (d.journalA().fetchedCount() < 100)
        d.journalA().fetchMore();
    QCoreApplication::processEvents();
    QVERIFY(d.journalA().setRecNo(currentRow));
    DbGrid* grid = d.gridA();
    grid->verticalScrollBar()->setValue(topRow);
    QCOMPARE(grid->rowAt(0), topRow);
    const qint64 topKey = d.journalKeyA(topRow);
    const qint64 currentKey = d.currentKeyA();

    const qint64 event = d.recordAtB(QStringLiteral("U2"), QStringLiteral("T1"));
    QVERIFY2(event > 0, kNotHeard);
    m.TimerTimer();
    QCOMPARE(d.journalKeyA(0), event);
    QCOMPARE(d.currentKeyA(), currentKey);
    QCOMPARE(d.journalA().recNo(), currentRow + 1);
    QCOMPARE(grid->currentIndex().row(), currentRow + 1);
    if (topRow == 0) {
        QCOMPARE(grid->rowAt(0), 0);
    } else {
        QCOMPARE(grid->rowAt(0), topRow + 1);
        QCOMPARE(d.journalKeyA(grid->rowAt(0)), topKey);
    }
}

void TestLiveJournal::journalKeepsItsSort()
{
    TwoDesks d;
    d.a.scan(QStringLiteral("U1"));
    d.a.scan(QStringLiteral("T1"));
    d.a.main().grid_HistoryTitleClick(2); // by name: Иванов before Петров
    QCOMPARE(d.journalA().sort(), QStringLiteral("FIO ASC"));

    QVERIFY2(d.recordAtB(QStringLiteral("U2"), QStringLiteral("T2")) > 0, kNotHeard);
    d.a.main().TimerTimer();
    QCOMPARE(d.journalA().sort(), QStringLiteral("FIO ASC"));
    QCOMPARE(d.journalA().fetchedCount(), 2);
    QCOMPARE(d.journalA().value(1, d.journalA().fieldIndex(QStringLiteral("FIO"))).toString(),
             QStringLiteral("Петров П.П."));
}

void TestLiveJournal::waitsWhileTheStorekeeperIsBusy_data()
{
    QTest::addColumn<Busy>("busy");
    QTest::newRow("typing a code") << Busy::Typing;
    QTest::newRow("a tool being edited") << Busy::ToolBeingEdited;
    QTest::newRow("a journal note being edited") << Busy::NoteBeingEdited;
}

void TestLiveJournal::waitsWhileTheStorekeeperIsBusy()
{
    QFETCH(Busy, busy);
    TwoDesks d;
    TfmMain& m = d.a.main();
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    d.a.scan(QStringLiteral("U1"));
    d.a.scan(QStringLiteral("T1")); // an event of A's own, for a note to edit
    d.a.scan(QStringLiteral("U1")); // half a pair: the tool comes next
    Query& tools = d.a.session().qTools;
    switch (busy) {
    case Busy::Typing:
        QTest::keyClicks(d.entryA(), QStringLiteral("T2"));
        break;
    case Busy::ToolBeingEdited:
        tools.reopen();
        QVERIFY(tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T3")));
        tools.edit();
        tools.setValue(QStringLiteral("Model"), QStringLiteral("unsaved"));
        break;
    case Busy::NoteBeingEdited:
        d.journalA().edit();
        d.journalA().setValue(QStringLiteral("Note"), QStringLiteral("unsaved"));
        break;
    }
    const qint64 event = d.recordAtB(QStringLiteral("U2"), QStringLiteral("T3"));
    QVERIFY2(event > 0, kNotHeard);
    QSignalSpy reloads(&d.journalA(), &Query::reopened);

    m.TimerTimer();
    QCOMPARE(reloads.count(), 0);
    if (busy == Busy::ToolBeingEdited) {
        m.TimerTimer();
        QCOMPARE(reloads.count(), 0); // not while the row is being changed
        QCOMPARE(tools.state(), Query::State::Edit);
        QCOMPARE(tools.text(QStringLiteral("Model")), QStringLiteral("unsaved"));
        tools.cancel();
    } else if (busy == Busy::NoteBeingEdited) {
        m.TimerTimer();
        QCOMPARE(reloads.count(), 0);
        QCOMPARE(d.journalA().text(QStringLiteral("Note")), QStringLiteral("unsaved"));
        d.journalA().cancel();
    }

    m.TimerTimer(); // the code is in; the storekeeper waits for the next scan
    QCOMPARE(reloads.count(), 1);
    QCOMPARE(d.journalKeyA(0), event);
    QVERIFY(m.recipientSelected());
    QCOMPARE(d.entryA()->text(), busy == Busy::Typing ? QStringLiteral("T2") : QString());
    QVERIFY(d.entryA()->hasFocus());

    // The pair completes as if nothing had happened in between.
    if (busy == Busy::Typing)
        QTest::keyClick(d.entryA(), Qt::Key_Return);
    else
        d.a.scan(QStringLiteral("T2"));
    QCOMPARE(d.a.lastJournal(QStringLiteral("ID_U")).toString(), QStringLiteral("U1"));
    QCOMPARE(d.a.lastJournal(QStringLiteral("ID_T")).toString(), QStringLiteral("T2"));
    QCOMPARE(d.journalA().text(QStringLiteral("ID_T")), QStringLiteral("T2"));
}

void TestLiveJournal::deskShowsToolsAsStoredNow()
{
    TwoDesks d;
    d.a.scan(QStringLiteral("T1")); // the tool chosen, the recipient to come
    Query& tools = d.a.session().qTools;
    tools.reopen();
    QVERIFY(tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T1")));
    QVERIFY(tools.boolean(QStringLiteral("Passed")));

    QVERIFY2(d.recordAtB(QStringLiteral("U2"), QStringLiteral("T1")) > 0, kNotHeard);
    d.a.main().TimerTimer();
    QVERIFY(d.a.main().toolSelected());
    QVERIFY(!d.a.desk().qSearch_T.boolean(QStringLiteral("Passed")));
    QCOMPARE(tools.text(QStringLiteral("ID_Tool")), QStringLiteral("T1"));
    QVERIFY(!tools.boolean(QStringLiteral("Passed")));

    // Written off at the other desk: no longer offered here.
    QVERIFY2(d.execAtB(QStringLiteral("UPDATE Tools SET WriteOff=%1 WHERE ID_Tool='T1'")
                           .arg(d.sessionB().connection().dialect().sqlTrue())),
             kNotHeard);
    d.a.main().TimerTimer();
    QVERIFY(!d.a.main().toolSelected());
}

void TestLiveJournal::toolListInViewShowsToolsAsStoredNow()
{
    TwoDesks d;
    d.a.main().show();
    d.a.app().showToolList();
    Query& tools = d.a.session().qTools;
    QVERIFY(tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T2")));
    const auto passedOf = [&tools](const QString& code) {
        const int c = tools.fieldIndex(QStringLiteral("ID_Tool"));
        for (int row = 0; row < tools.fetchedCount(); ++row) {
            if (tools.value(row, c).toString() == code)
                return Query::parseBool(tools.value(row, tools.fieldIndex(QStringLiteral("Passed")))).value_or(true);
        }
        return true;
    };
    QVERIFY(passedOf(QStringLiteral("T1")));

    QVERIFY2(d.recordAtB(QStringLiteral("U2"), QStringLiteral("T1")) > 0, kNotHeard);
    d.a.main().TimerTimer();
    QVERIFY(!passedOf(QStringLiteral("T1")));
    QCOMPARE(tools.text(QStringLiteral("ID_Tool")), QStringLiteral("T2")); // still the tool looked at
}

QTEST_MAIN(TestLiveJournal)
#include "tst_livejournal.moc"
