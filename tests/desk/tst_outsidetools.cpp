// Tool rows written by another program (the sqlite3 shell on the file, psql
// on the server), which knows nothing of the tools' lasting identity: the
// desk, the cards and the work types give such a tool its code as identity
// before they refer to it, and never change an identity it has.
#include "core/Session.h"
#include "data/Connection.h"
#include "data/ToolIdentities.h"
#include "desk/TfmMain.h"
#include "recipients/LastIssue.h"
#include "recipients/TfmCard_U.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmWorkTypes.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(9, 10, 11));

// Runs sql in the stock shell of the program's database, as a script
// would, while the program runs.
void shell(DeskFixture& f, const QString& sql)
{
    QProcess p;
    if (const PgTestDatabase* server = f.server())
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                 QStringLiteral("-h"), PgTestDatabase::host(), QStringLiteral("-U"), QStringLiteral("postgres"),
                 QStringLiteral("-d"), server->name(), QStringLiteral("-c"), sql});
    else
        p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), f.data().dbPath(), sql});
    if (!p.waitForStarted(10000))
        QFAIL("the database's shell did not run: install sqlite3 and postgresql-client (scripts/install-deps.sh)");
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
             qPrintable(QString::fromUtf8(p.readAllStandardError())));
}

// A literal of the shell's SQL: NULL for a null text.
QString literal(const QString& text)
{
    return text.isNull() ? QStringLiteral("NULL") : u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

void addToolOutside(DeskFixture& f, const QString& code, const QString& identity, bool inStore = true,
                    const QString& holder = QStringLiteral(""))
{
    shell(f,
          QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, "
                         "Tool_State, Passed, OwnerID) VALUES (%1, %2, 'Дрель', 'Bosch', 'GSB 13', 'новый', "
                         "'%3', %4)")
              .arg(literal(code), literal(identity), inStore ? QStringLiteral("1") : QStringLiteral("0"),
                   literal(holder)));
}

QString addRecipientOutside(DeskFixture& f, const QString& code)
{
    shell(f,
          QStringLiteral("INSERT INTO Users (ID_User, FIO, Organization) VALUES (%1, 'Петров П.П.', 'Цех 3')")
              .arg(literal(code)));
    return f.db().scalar(QStringLiteral("SELECT ID FROM Users WHERE ID_User=?"), {code}).toString();
}

QStringList journalOf(Query& q, const QString& field)
{
    while (q.canFetchMore())
        q.fetchMore();
    QStringList values;
    for (int row = 0; row < q.fetchedCount(); ++row)
        values << q.value(row, q.fieldIndex(field)).toString();
    return values;
}

TfmCard_T& openToolCard(DeskFixture& f, const QString& code)
{
    Query& tools = f.session().qTools;
    tools.reopen();
    if (!tools.locate(QStringLiteral("ID_Tool"), code))
        qFatal("no tool %s", qPrintable(code));
    auto& card = f.window<TfmCard_T>("TfmCard_T");
    card.loadCurrentTool();
    card.FormShow();
    return card;
}

} // namespace

class TestOutsideTools : public QObject
{
    Q_OBJECT
private slots:
    void scannedToolIsJournalledByItsIdentity_data();
    void scannedToolIsJournalledByItsIdentity();
    void cardOfAToolNeverScanned();
    void cardAfterTheIdleLookGaveTheIdentity();
    void workTypeListsAToolWithoutIdentity();
    void allMissingIdentitiesAtOnce();
};

void TestOutsideTools::scannedToolIsJournalledByItsIdentity_data()
{
    QTest::addColumn<QString>("identity"); // as the shell stored it
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QString() << "T-77";
    QTest::newRow("empty") << ""
                           << "T-77";
    QTest::newRow("of an older code") << "T-OLD"
                                      << "T-OLD";
}

void TestOutsideTools::scannedToolIsJournalledByItsIdentity()
{
    QFETCH(QString, identity);
    QFETCH(QString, expected);
    DeskFixture f;
    QVERIFY(f.started());
    f.fakes().clock.current = kNow;
    addRecipientOutside(f, QStringLiteral("R1"));
    addToolOutside(f, QStringLiteral("T-77"), identity);
    addToolOutside(f, QStringLiteral("T-78"), QString()); // another tool without one stays apart

    f.scan(QStringLiteral("R1"));
    f.scan(QStringLiteral("T-77"));
    QCOMPARE(f.toolValue(QStringLiteral("T-77"), QStringLiteral("Passed")).toInt(), 0);
    QCOMPARE(f.lastJournal(QStringLiteral("ID_T")).toString(), expected);
    QCOMPARE(f.toolValue(QStringLiteral("T-77"), QStringLiteral("ID_Tool_Unique")).toString(), expected);
    QVERIFY(f.toolValue(QStringLiteral("T-78"), QStringLiteral("ID_Tool_Unique")).isNull());

    // The worker's statement finds the issue by the identity.
    f.app().showToolList(); // any page: the recipient card is opened from the list's row
    Query& users = f.session().qUsers;
    users.reopen();
    QVERIFY(users.locate(QStringLiteral("ID_User"), QStringLiteral("R1")));
    auto& worker = f.window<TfmCard_U>("TfmCard_U");
    worker.loadCurrentRecipient();
    worker.Calc_Issued_Date();
    QCOMPARE(worker.q2.fetchedCount(), 1);
    worker.q2.first();
    QCOMPARE(worker.q2.date(QStringLiteral("Issued_date")), kNow.date());

    f.scan(QStringLiteral("R1"));
    f.scan(QStringLiteral("T-77"));
    QCOMPARE(f.journalCount(), 2);
    QCOMPARE(f.lastJournal(QStringLiteral("ID_T")).toString(), expected);

    // The tool card lists both events.
    TfmCard_T& card = openToolCard(f, QStringLiteral("T-77"));
    QCOMPARE(card.ID, expected);
    QCOMPARE(journalOf(card.q, QStringLiteral("Operation")), (QStringList{"Сдан", "Выдан"}));
}

void TestOutsideTools::cardOfAToolNeverScanned()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.fakes().clock.current = kNow;
    const QString holder = addRecipientOutside(f, QStringLiteral("R1"));
    addToolOutside(f, QStringLiteral("T-90"), QString(), false, holder); // out with R1, as a script set it
    // A journal row of some tool that had no identity when it was written.
    shell(f,
          QStringLiteral("INSERT INTO History (ID_U, ID_T, ADate, Operation) VALUES ('R1', '', '2025-01-02', "
                         "'Выдан')"));

    // Before any event names it, the tool has no journal of its own.
    QDate issued = kNoIssueDate;
    findLastIssuedDate(f.db(), QString(), QStringLiteral("R1"), issued);
    QCOMPARE(issued, kNoIssueDate);

    TfmCard_T& card = openToolCard(f, QStringLiteral("T-90"));
    QCOMPARE(card.ID, QStringLiteral("T-90"));
    QCOMPARE(f.toolValue(QStringLiteral("T-90"), QStringLiteral("ID_Tool_Unique")).toString(), QStringLiteral("T-90"));
    QCOMPARE(card.q.fetchedCount(), 0); // not the row of the unknown tool

    f.fakes().dialogs.confirmAnswers = {true};
    DeskFixture::find<QPushButton>(card, "btReturn")->click();
    QVERIFY(f.fakes().dialogs.texts(QStringLiteral("error")).isEmpty());
    QCOMPARE(f.toolValue(QStringLiteral("T-90"), QStringLiteral("Passed")).toInt(), 1);
    QCOMPARE(f.lastJournal(QStringLiteral("ID_T")).toString(), QStringLiteral("T-90"));
    QCOMPARE(journalOf(card.q, QStringLiteral("Operation")), QStringList{"Сдан"});
}

void TestOutsideTools::cardAfterTheIdleLookGaveTheIdentity()
{
    DeskFixture f;
    QVERIFY(f.started());
    addToolOutside(f, QStringLiteral("T-91"), QString());
    Query& tools = f.session().qTools;
    tools.reopen(); // the list shows the tool as it was written
    QVERIFY(tools.locate(QStringLiteral("ID_Tool"), QStringLiteral("T-91")));
    QVERIFY(tools.text(QStringLiteral("ID_Tool_Unique")).isEmpty());
    f.main().TimerTimer(); // the first idle look after start
    QCOMPARE(f.toolValue(QStringLiteral("T-91"), QStringLiteral("ID_Tool_Unique")).toString(), QStringLiteral("T-91"));

    auto& card = f.window<TfmCard_T>("TfmCard_T");
    card.loadCurrentTool(); // opened from the list as read before
    QCOMPARE(card.ID, QStringLiteral("T-91"));
}

void TestOutsideTools::workTypeListsAToolWithoutIdentity()
{
    DeskFixture f;
    QVERIFY(f.started());
    addToolOutside(f, QStringLiteral("T-5"), QString());
    f.db().exec(QStringLiteral("INSERT INTO WORKTYPES (AField, AField_2) VALUES ('Монтаж', '')"));
    f.app().openWorkTypes();
    auto& window = f.window<TfmWorkTypes>("TfmWorkTypes");
    Query& workTypes = f.session().qWorkTypes;
    workTypes.reopen();
    QVERIFY(workTypes.locate(QStringLiteral("AField"), QStringLiteral("Монтаж")));

    QLineEdit* box = f.control<QLineEdit>("TfmWorkTypes", "edID");
    box->setText(QStringLiteral("t-5")); // scanned in the other letter case
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
    QCOMPARE(f.db().scalar(QStringLiteral("SELECT AField_2 FROM WORKTYPES")).toString(), QStringLiteral("'T-5'"));
    QCOMPARE(f.toolValue(QStringLiteral("T-5"), QStringLiteral("ID_Tool_Unique")).toString(), QStringLiteral("T-5"));
    QCOMPARE(journalOf(window.qTools_as_Work, QStringLiteral("ID_Tool")), QStringList{"T-5"});
}

void TestOutsideTools::allMissingIdentitiesAtOnce()
{
    DeskFixture f;
    QVERIFY(f.started());
    const struct {
        QString code;
        QString identity; // as stored by the shell
        QString after;
    } rows[] = {
        {QStringLiteral("A-1"), QString(), QStringLiteral("A-1")},
        {QStringLiteral("A-2"), QStringLiteral(""), QStringLiteral("A-2")},
        {QStringLiteral("A-3"), QStringLiteral("A-0"), QStringLiteral("A-0")}, // the code was changed since
        {QStringLiteral("Ж 4"), QString(), QStringLiteral("Ж 4")},
        {QString(), QString(), QString()}, // no code to give
    };
    for (const auto& row : rows)
        addToolOutside(f, row.code, row.identity);

    QCOMPARE(ToolIdentities::assignMissing(f.db()), 3);
    Statement q = f.db().run(QStringLiteral("SELECT ID_Tool_Unique FROM Tools ORDER BY ID"));
    for (const auto& row : rows) {
        QVERIFY(q->next());
        QCOMPARE(q->value(0).toString(), row.after);
        QCOMPARE(q->value(0).isNull(), row.after.isNull());
    }
    QCOMPARE(ToolIdentities::assignMissing(f.db()), 0); // the next look finds nothing to do
}

QTEST_MAIN(TestOutsideTools)
#include "tst_outsidetools.moc"
