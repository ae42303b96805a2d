#include "DbFixture.h"
#include "data/DbError.h"
#include "data/StoredDeclaration.h"

#include <QMap>
#include <QtTest>

using dbfixture::columnNames;
using dbfixture::masterText;

namespace {

const QString kOwnCollation = QStringLiteral("UNOCASE");

// The columns of every user table.
QMap<QString, QStringList> layoutOf(Connection& db)
{
    QMap<QString, QStringList> layout;
    for (const QString& table : db.userTables())
        layout.insert(table, dbfixture::columnNames(db, table));
    return layout;
}

// Every row of the tables and columns of layout, as text, to compare before
// and after.
QStringList rowsOf(Connection& db, const QMap<QString, QStringList>& layout)
{
    QStringList rows;
    for (auto it = layout.cbegin(); it != layout.cend(); ++it) {
        QStringList names;
        for (const QString& c : it.value())
            names << u'"' + c + u'"';
        QSqlQuery q(db.database());
        q.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY ID").arg(names.join(u','), it.key()));
        while (q.next()) {
            QStringList values{it.key()};
            for (int i = 0; i < names.size(); ++i)
                values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
            rows << values.join(u'|');
        }
    }
    return rows;
}

QStringList allRows(Connection& db)
{
    return rowsOf(db, layoutOf(db));
}

const QStringList kAddedToTools{"Price",          "Naim",        "Inv",      "Mesto",
                                "ID_Tool_Unique", "Issued_date", "WriteOff", "WriteOff_AKT_ID",
                                "WriteOffNote",   "LoanDays"};

QStringList sortedTables(Connection& db)
{
    QStringList t = db.userTables();
    t.sort(Qt::CaseInsensitive);
    return t;
}

FieldKind kindOf(Connection& db, const QString& table, const QString& column)
{
    for (const TableColumn& c : db.columns(table)) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.kind;
    }
    return FieldKind::Blob;
}

// A program folder whose database has the first release's five tables.
struct FirstRelease : TestData {
    FirstRelease() { dbfixture::useOriginalLayout(dbPath()); }
};

int upgradeSeeing(Connection& db, bool& identityPresentAtCall)
{
    int calls = 0;
    Schema(db, [&] {
        ++calls;
        identityPresentAtCall = columnNames(db, QStringLiteral("Tools")).contains(QStringLiteral("ID_Tool_Unique"));
    }).upgrade();
    return calls;
}

// Runs the upgrade the way the main window does, then opens its result sets,
// and reports what it saw.
struct Run {
    explicit Run(Connection& db)
        : calls(upgradeSeeing(db, identityPresentAtCall))
        , queries(db)
    {
    }
    bool identityPresentAtCall = false;
    int calls = 0;
    dbfixture::MainQueries queries;
};

} // namespace

class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void addsEveryMissingColumnAndTable();
    void addedColumnKinds_data();
    void addedColumnKinds();
    void fillsExistingTools();
    void newTablesNumberTheirRows();
    void newTextColumnsAreCaseless();
    void leavesOpenResultSetsAlone();
    void secondUpgradeChangesNothing();
    void addsOnlyWhatIsMissing_data();
    void addsOnlyWhatIsMissing();
    void tableInOtherLetterCase_data();
    void tableInOtherLetterCase();
    void missingTimeKeepsJournalNewestFirst();
    void identityStepIsAllOrNothing();

    void deliveredDatabaseIsUpToDate();
    void redeclaresOwnCollation_data();
    void redeclaresOwnCollation();
    void redeclarationIsAllOrNothing();
    void storedDeclarationChangesOnlyItsNames_data();
    void storedDeclarationChangesOnlyItsNames();
};

void TstSchema::addsEveryMissingColumnAndTable()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    const QStringList toolsBefore = columnNames(db, QStringLiteral("Tools"));
    const QStringList historyBefore = columnNames(db, QStringLiteral("History"));
    const QStringList usersBefore = columnNames(db, QStringLiteral("Users"));

    Run run(db);

    QCOMPARE(columnNames(db, QStringLiteral("Tools")), toolsBefore + kAddedToTools);
    QCOMPARE(columnNames(db, QStringLiteral("History")), (historyBefore + QStringList{"ATime", "Due_date"}));
    QCOMPARE(columnNames(db, QStringLiteral("Users")), usersBefore);
    QCOMPARE(sortedTables(db),
             (QStringList{"AKTSpisaniya", "History", "MESTO", "NAIMENOVANIYA", "Operations", "State", "Tools",
                          "TOOLTYPES", "Users", "WORKTYPES"}));
    for (const char* dictionary : {"NAIMENOVANIYA", "MESTO", "WORKTYPES"})
        QCOMPARE(columnNames(db, QLatin1String(dictionary)), (QStringList{"ID", "AField", "AField_2"}));
    QCOMPARE(columnNames(db, QStringLiteral("TOOLTYPES")), (QStringList{"ID", "AField", "AField_2", "LoanDays"}));
    QCOMPARE(columnNames(db, QStringLiteral("AKTSpisaniya")), (QStringList{"ID", "AName", "ADate", "ANote"}));
}

void TstSchema::addedColumnKinds_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<FieldKind>("kind");
    QTest::newRow("price") << "Tools"
                           << "Price" << FieldKind::Real;
    QTest::newRow("name") << "Tools"
                          << "Naim" << FieldKind::Text;
    QTest::newRow("identity") << "Tools"
                              << "ID_Tool_Unique" << FieldKind::Text;
    QTest::newRow("issued date") << "Tools"
                                 << "Issued_date" << FieldKind::Date;
    QTest::newRow("written off") << "Tools"
                                 << "WriteOff" << FieldKind::Bool;
    QTest::newRow("act") << "Tools"
                         << "WriteOff_AKT_ID" << FieldKind::Integer;
    QTest::newRow("note") << "Tools"
                          << "WriteOffNote" << FieldKind::Text;
    QTest::newRow("journal time") << "History"
                                  << "ATime" << FieldKind::Time;
    QTest::newRow("tool's loan period") << "Tools"
                                        << "LoanDays" << FieldKind::Integer;
    QTest::newRow("type's loan period") << "TOOLTYPES"
                                        << "LoanDays" << FieldKind::Integer;
    QTest::newRow("due date") << "History"
                              << "Due_date" << FieldKind::Date;
    QTest::newRow("dictionary key") << "WORKTYPES"
                                    << "ID" << FieldKind::Integer;
    QTest::newRow("act date") << "AKTSpisaniya"
                              << "ADate" << FieldKind::DateTime;
    QTest::newRow("act note") << "AKTSpisaniya"
                              << "ANote" << FieldKind::Text;
}

void TstSchema::addedColumnKinds()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(FieldKind, kind);
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    Run run(db);
    QCOMPARE(kindOf(db, table, column), kind);
}

void TstSchema::fillsExistingTools()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 3);

    Run run(db);

    QCOMPARE(run.calls, 1);
    QVERIFY2(!run.identityPresentAtCall, "the callback comes before the identity column");
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool_Unique = ID_Tool")).toInt(), 3);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE WriteOff = 0 AND typeof(WriteOff) = 'integer'"))
                 .toInt(),
             3);
    // The filter the windows use must see every existing tool (NULL would fail it).
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE WriteOff <> 1")).toInt(), 3);
    QVERIFY(!run.queries.tools.boolean(QStringLiteral("WriteOff")));
}

void TstSchema::newTablesNumberTheirRows()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    Run run(db);
    for (const char* table : {"NAIMENOVANIYA", "MESTO", "TOOLTYPES", "WORKTYPES", "AKTSpisaniya"}) {
        const QString t = QLatin1String(table);
        const QString text = t == u"AKTSpisaniya" ? QStringLiteral("AName") : QStringLiteral("AField");
        db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES ('a'), ('b')").arg(t, text));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(DISTINCT ID) FROM %1 WHERE ID IS NOT NULL").arg(t)).toInt(), 2);
    }
}

void TstSchema::newTextColumnsAreCaseless()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 1);
    Run run(db);
    db.exec(QStringLiteral("UPDATE Tools SET Naim = 'Ключ', Mesto = 'Склад Ё'"));
    db.exec(QStringLiteral("INSERT INTO WORKTYPES (AField) VALUES ('Сварка')"));
    const auto& d = db.dialect();
    const auto count = [&db, &d](const QString& table, const QString& column, const QString& value) {
        return db
            .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, d.caselessEquals(column, value)),
                    {value})
            .toInt();
    };
    QCOMPARE(count(QStringLiteral("Tools"), QStringLiteral("Naim"), QStringLiteral("КЛЮЧ")), 1);
    QCOMPARE(count(QStringLiteral("Tools"), QStringLiteral("Mesto"), QStringLiteral("склад ё")), 1);
    QCOMPARE(count(QStringLiteral("Tools"), QStringLiteral("ID_Tool_Unique"), QStringLiteral("t00001")), 1);
    QCOMPARE(count(QStringLiteral("WORKTYPES"), QStringLiteral("AField"), QStringLiteral("СВАРКА")), 1);
    // Plain comparisons fold ASCII letters as every other tool does.
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool_Unique = 't00001'")).toInt(), 1);
}

void TstSchema::leavesOpenResultSetsAlone()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 3);
    // A window's result sets, open while the upgrade runs: it reads the
    // catalogue itself and neither closes nor replaces them.
    dbfixture::MainQueries open(db);
    QVERIFY(!open.tools.hasField(QStringLiteral("Price")));

    Run run(db);

    QVERIFY(open.tools.isOpen());
    QCOMPARE(open.tools.statement(), Schema::toolsDesign(db.dialect()));
    QVERIFY(!open.tools.hasField(QStringLiteral("Price")));
    QCOMPARE(open.tools.fetchedCount(), 3);
    QVERIFY(open.history.isOpen());
    QVERIFY(!open.history.hasField(QStringLiteral("ATime")));
    // Opened afresh they show every added column.
    open.tools.reopen();
    for (const QString& field : kAddedToTools)
        QVERIFY2(open.tools.hasField(field), qPrintable(field));
    QCOMPARE(open.tools.recordCount(), 3);
    QVERIFY(run.queries.history.hasField(QStringLiteral("ATime")));
}

void TstSchema::secondUpgradeChangesNothing()
{
    FirstRelease data;
    QStringList first;
    {
        Connection db;
        db.open(data.dbPath());
        dbfixture::addTools(db, 3);
        Run run(db);
        first = masterText(db);
        Run again(db);
        QCOMPARE(again.calls, 0);
        QCOMPARE(masterText(db), first);
    }
    // And at the next start of the program.
    Connection db;
    db.open(data.dbPath());
    Run next(db);
    QCOMPARE(next.calls, 0);
    QCOMPARE(masterText(db), first);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool_Unique = ID_Tool")).toInt(), 3);
}

void TstSchema::addsOnlyWhatIsMissing_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column"); // empty: the whole table is missing
    QTest::newRow("Inv") << "Tools"
                         << "Inv";
    QTest::newRow("Price") << "Tools"
                           << "Price";
    QTest::newRow("Naim") << "Tools"
                          << "Naim";
    QTest::newRow("Issued_date") << "Tools"
                                 << "Issued_date";
    QTest::newRow("WriteOff") << "Tools"
                              << "WriteOff";
    QTest::newRow("WriteOffNote") << "Tools"
                                  << "WriteOffNote";
    QTest::newRow("ATime") << "History"
                           << "ATime";
    QTest::newRow("Due_date") << "History"
                              << "Due_date";
    QTest::newRow("type's LoanDays") << "TOOLTYPES"
                                     << "LoanDays";
    QTest::newRow("MESTO table") << "MESTO"
                                 << "";
    QTest::newRow("AKTSpisaniya table") << "AKTSpisaniya"
                                        << "";
}

void TstSchema::addsOnlyWhatIsMissing()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 3);
    {
        Run full(db);
    }
    const QStringList complete = masterText(db);
    const FieldKind kind = kindOf(db, table, column.isEmpty() ? QStringLiteral("ID") : column);

    if (column.isEmpty())
        db.changeSchema(QStringLiteral("DROP TABLE %1").arg(table));
    else
        db.changeSchema(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
    const QStringList damaged = columnNames(db, table);

    Run run(db);

    QCOMPARE(run.calls, 0);
    if (column.isEmpty())
        QCOMPARE(masterText(db), complete); // recreated exactly as first made
    else
        QCOMPARE(columnNames(db, table), damaged + QStringList{column}); // only that column, at the end
    QCOMPARE(kindOf(db, table, column.isEmpty() ? QStringLiteral("ID") : column), kind);

    // Nothing else in the schema moved.
    const auto others = [&table](const QStringList& rows) {
        QStringList kept;
        for (const QString& r : rows) {
            if (!r.startsWith(QStringLiteral("table|%1|").arg(table)))
                kept << r;
        }
        return kept;
    };
    QCOMPARE(others(masterText(db)), others(complete));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool_Unique = ID_Tool")).toInt(), 3);
}

void TstSchema::tableInOtherLetterCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower-case dictionary") << "worktypes";
    QTest::newRow("mixed-case dictionary") << "Mesto";
    QTest::newRow("lower-case acts") << "aktspisaniya";
}

void TstSchema::tableInOtherLetterCase()
{
    QFETCH(QString, name);
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    db.exec(
        QStringLiteral("CREATE TABLE %1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, AField TEXT, AField_2 TEXT, AName TEXT)")
            .arg(name));
    db.exec(QStringLiteral("INSERT INTO %1 (AField, AName) VALUES ('kept', 'kept')").arg(name));

    Run run(db);

    const QStringList same = db.userTables().filter(
        QRegularExpression(QStringLiteral("^%1$").arg(name), QRegularExpression::CaseInsensitiveOption));
    QCOMPARE(same, QStringList{name});
    QCOMPARE(db.scalar(QStringLiteral("SELECT AField FROM %1").arg(name)).toString(), QStringLiteral("kept"));
    QCOMPARE(db.userTables().size(), 10);
}

void TstSchema::missingTimeKeepsJournalNewestFirst()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    {
        Run full(db);
    }
    {
        Connection::Transaction t(db);
        for (int i = 1; i <= 150; ++i) // more than one page
            db.exec(QStringLiteral("INSERT INTO History (ID_T, ADate) VALUES (?, ?)"),
                    {dbfixture::toolCode(i), QDate(2024, 1, 1).addDays(i).toString(Qt::ISODate)});
        t.commit();
    }
    db.changeSchema(QStringLiteral("ALTER TABLE History DROP COLUMN ATime"));

    Run run(db);

    Query& history = run.queries.history;
    QVERIFY(history.isOpen());
    QVERIFY(history.hasField(QStringLiteral("ATime")));
    QCOMPARE(history.recNo(), 0);
    QCOMPARE(history.integer(QStringLiteral("ID")), 150);
    history.next();
    QCOMPARE(history.integer(QStringLiteral("ID")), 149);
    QVERIFY(history.setRecNo(149));
    QCOMPARE(history.integer(QStringLiteral("ID")), 1);
    QCOMPARE(columnNames(db, QStringLiteral("History")).count(QStringLiteral("ATime")), 1);
}

void TstSchema::identityStepIsAllOrNothing()
{
    FirstRelease data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 3);
    // The fill fails after the column was added in the same transaction.
    db.changeSchema(QStringLiteral("CREATE TRIGGER refuse_fill BEFORE UPDATE ON Tools "
                                   "BEGIN SELECT RAISE(ABORT, 'tools are locked for the test'); END"));
    {
        int calls = 0;
        Schema schema(db, [&calls] { ++calls; });
        try {
            schema.upgrade();
            QFAIL("the upgrade went through a failing fill");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("tools are locked")), qPrintable(e.text()));
        }
        QCOMPARE(calls, 1);
    }
    QVERIFY(!columnNames(db, QStringLiteral("Tools")).contains(QStringLiteral("ID_Tool_Unique")));
    QVERIFY(columnNames(db, QStringLiteral("Tools")).contains(QStringLiteral("Inv"))); // earlier steps stay
    {
        Connection other; // no half-done change reached the file
        other.open(data.dbPath());
        QVERIFY(!columnNames(other, QStringLiteral("Tools")).contains(QStringLiteral("ID_Tool_Unique")));
    }
    // No transaction was left open on the connection.
    {
        Connection::Transaction t(db);
        db.changeSchema(QStringLiteral("DROP TRIGGER refuse_fill"));
        t.commit();
    }

    Run retry(db);

    QCOMPARE(retry.calls, 1);
    QCOMPARE(columnNames(db, QStringLiteral("Tools")).count(QStringLiteral("ID_Tool_Unique")), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool_Unique = ID_Tool")).toInt(), 3);
    QVERIFY(columnNames(db, QStringLiteral("Tools")).contains(QStringLiteral("WriteOffNote")));
}

void TstSchema::deliveredDatabaseIsUpToDate()
{
    TestData delivered;
    Connection db;
    db.open(delivered.dbPath());
    const QStringList before = masterText(db);
    Run run(db);
    QCOMPARE(run.calls, 0); // a fresh install asks nothing
    QCOMPARE(masterText(db), before);
    QVERIFY(!before.join(u'\n').contains(kOwnCollation));

    // The same layout as an upgraded first-release file.
    FirstRelease old;
    Connection upgraded;
    upgraded.open(old.dbPath());
    Run full(upgraded);
    QCOMPARE(masterText(upgraded), before);
}

void TstSchema::redeclaresOwnCollation_data()
{
    QTest::addColumn<bool>("upgraded");
    QTest::newRow("as the previous version delivered it") << false;
    QTest::newRow("as the previous version upgraded it") << true;
}

void TstSchema::redeclaresOwnCollation()
{
    QFETCH(bool, upgraded);
    TestData data;
    dbfixture::useOwnCollationLayout(data.dbPath(), upgraded);
    QStringList rowsBefore;
    QMap<QString, QStringList> layout;
    {
        Connection db;
        db.open(data.dbPath());
        dbfixture::addTools(db, 300);
        db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO) VALUES ('Ю-001', 'Юрьев'), ('u-2', 'Smith')"));
        db.exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, Note) VALUES ('Ю-001', 'T00001', 'Выдан')"));
        db.exec(QStringLiteral("DELETE FROM Tools WHERE ID > 290")); // the counter stays above the rows left
        if (upgraded)
            db.exec(QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool"));
        layout = layoutOf(db);
        rowsBefore = rowsOf(db, layout);
    }
    Connection db;
    db.open(data.dbPath());
    Run run(db);

    QCOMPARE(run.calls, 1); // one question, even with the identity fill to do as well
    const QString schema = masterText(db).join(u'\n');
    QVERIFY2(!schema.contains(kOwnCollation, Qt::CaseInsensitive), qPrintable(schema));
    QCOMPARE(rowsOf(db, layout), rowsBefore);
    for (const char* index : {"ix_Tools_ID_Tool", "ix_Tools_ID_Tool_Unique", "ix_Users_ID_User", "ix_History_ID_T"})
        QVERIFY2(schema.contains(QLatin1String(index)), index);
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('NEW')"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT ID FROM Tools WHERE ID_Tool = 'NEW'")).toInt(), 301);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));

    Run again(db);
    QCOMPARE(again.calls, 0);
}

void TstSchema::redeclarationIsAllOrNothing()
{
    TestData data;
    dbfixture::useOwnCollationLayout(data.dbPath(), true);
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 5);
    // A view on a table that is gone makes the engine refuse to rename a
    // table: the redeclaration fails after its first tables were copied.
    db.changeSchema(QStringLiteral("CREATE VIEW Broken AS SELECT * FROM Gone"));
    const QStringList schemaBefore = masterText(db);
    const auto layoutBefore = layoutOf(db);
    const QStringList rowsBefore = allRows(db);
    {
        Schema schema(db, {});
        QVERIFY_THROWS_EXCEPTION(DbError, schema.upgrade());
    }
    QCOMPARE(masterText(db), schemaBefore);
    QCOMPARE(allRows(db), rowsBefore);

    db.changeSchema(QStringLiteral("DROP VIEW Broken"));
    Run retry(db);
    QCOMPARE(retry.calls, 1);
    QVERIFY(!masterText(db).join(u'\n').contains(kOwnCollation));
    // Every row kept, in the columns it had (the retry also adds today's new ones).
    QCOMPARE(rowsOf(db, layoutBefore), rowsBefore);
}

QTEST_GUILESS_MAIN(TstSchema)
void TstSchema::storedDeclarationChangesOnlyItsNames_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("collated"); // UNOCASE named NOCASE
    QTest::addColumn<QString>("renamed");  // the table named "t2"; empty: not a table's declaration
    const auto row = [](const char* name, const char* sql, const char* collated, const char* renamed) {
        QTest::newRow(name) << QString::fromUtf8(sql) << QString::fromUtf8(collated) << QString::fromUtf8(renamed);
    };
    row("plain", "CREATE TABLE Tools (a TEXT COLLATE UNOCASE)", "CREATE TABLE Tools (a TEXT COLLATE NOCASE)",
        "CREATE TABLE \"t2\" (a TEXT COLLATE UNOCASE)");
    row("quoted names", "CREATE TABLE \"To\"\"ols\" (a TEXT collate \"unocase\", b TEXT COLLATE [UNOCASE])",
        "CREATE TABLE \"To\"\"ols\" (a TEXT collate NOCASE, b TEXT COLLATE NOCASE)",
        "CREATE TABLE \"t2\" (a TEXT collate \"unocase\", b TEXT COLLATE [UNOCASE])");
    row("name as a string", "CREATE TABLE IF NOT EXISTS `T` (a TEXT COLLATE 'UNOCASE')",
        "CREATE TABLE IF NOT EXISTS `T` (a TEXT COLLATE NOCASE)",
        "CREATE TABLE IF NOT EXISTS \"t2\" (a TEXT COLLATE 'UNOCASE')");
    row("literal and comment untouched",
        "CREATE TABLE T (a TEXT DEFAULT 'COLLATE UNOCASE' /* COLLATE UNOCASE */ -- COLLATE UNOCASE\n, b TEXT)",
        "CREATE TABLE T (a TEXT DEFAULT 'COLLATE UNOCASE' /* COLLATE UNOCASE */ -- COLLATE UNOCASE\n, b TEXT)",
        "CREATE TABLE \"t2\" (a TEXT DEFAULT 'COLLATE UNOCASE' /* COLLATE UNOCASE */ -- COLLATE UNOCASE\n, b TEXT)");
    row("longer name kept", "CREATE TABLE T (a TEXT COLLATE UNOCASE2, b TEXT COLLATE NOCASE)",
        "CREATE TABLE T (a TEXT COLLATE UNOCASE2, b TEXT COLLATE NOCASE)",
        "CREATE TABLE \"t2\" (a TEXT COLLATE UNOCASE2, b TEXT COLLATE NOCASE)");
    row("with its database", "CREATE TABLE main.\"T\"(a TEXT COLLATE UNOCASE)",
        "CREATE TABLE main.\"T\"(a TEXT COLLATE NOCASE)", "CREATE TABLE \"t2\"(a TEXT COLLATE UNOCASE)");
    row("index", "CREATE INDEX ix ON T (a COLLATE UNOCASE)", "CREATE INDEX ix ON T (a COLLATE NOCASE)", "");
    row("unclosed literal", "CREATE TABLE T (a TEXT DEFAULT 'x COLLATE UNOCASE)",
        "CREATE TABLE T (a TEXT DEFAULT 'x COLLATE UNOCASE)",
        "CREATE TABLE \"t2\" (a TEXT DEFAULT 'x COLLATE UNOCASE)");
}

void TstSchema::storedDeclarationChangesOnlyItsNames()
{
    QFETCH(QString, sql);
    QFETCH(QString, collated);
    QFETCH(QString, renamed);
    const StoredDeclaration declaration(sql);
    QCOMPARE(declaration.withCollation(QStringLiteral("UNOCASE"), QStringLiteral("NOCASE")), collated);
    QCOMPARE(declaration.usesCollation(QStringLiteral("UNOCASE")), collated != sql);
    QCOMPARE(declaration.withTableName(QStringLiteral("\"t2\"")).value_or(QString()), renamed);
}

#include "tst_schema.moc"
