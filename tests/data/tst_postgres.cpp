// The data layer on the database server, and the behaviours that must be the
// same on the embedded file and on the server.
#include "DbFixture.h"
#include "core/FailureText.h"
#include "core/Messages.h"
#include "data/ChangeWatch.h"
#include "data/Columns.h"
#include "data/PostgresDialect.h"
#include "tests/support/PgPrivateServer.h"
#include "tests/support/PgTestDatabase.h"

#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

namespace {

// A database of either engine at today's layout, empty of rows.
struct EngineDb {
    explicit EngineDb(bool server)
    {
        if (server) {
            pg = std::make_unique<PgTestDatabase>();
            db.open(pg->description());
            createOriginalTables(db);
        } else {
            db.open(files.dbPath());
        }
        dbfixture::upgrade(db);
    }
    ConnectionDescription description() const { return db.description(); }

    TestData files;
    std::unique_ptr<PgTestDatabase> pg; // dropped after the connection closes
    Connection db;
};

void addEngineColumn()
{
    QTest::addColumn<bool>("server");
}

void addEngineRows()
{
    addEngineColumn();
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

// A login role of the test server for one test, dropped with the object.
struct TestRole {
    TestRole(const PgTestDatabase& server, const QString& options)
        : pg(server)
        , name(QStringLiteral("tooldesk_role_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count))
    {
        pg.adminExec(QStringLiteral("CREATE ROLE %1 LOGIN %2").arg(name, options));
    }
    ~TestRole()
    {
        try {
            pg.adminExec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(name));
        } catch (const DbError& e) {
            qWarning("role %s not dropped: %s", qPrintable(name), qPrintable(e.text()));
        }
    }
    const PgTestDatabase& pg;
    const QString name;
    static inline int count = 0;
};

// Sets an environment variable, or takes it away, for one test.
struct EnvironmentVariable {
    EnvironmentVariable(const char* variable, const QString& value)
        : name(variable)
        , had(qEnvironmentVariableIsSet(variable))
        , before(qgetenv(variable))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~EnvironmentVariable()
    {
        if (had)
            qputenv(name, before);
        else
            qunsetenv(name);
    }
    const char* name;
    const bool had;
    const QByteArray before;
};

// What a statement threw; nothing when it went through.
std::optional<DbError> failureOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const DbError& e) {
        return e;
    }
    return std::nullopt;
}

// A failure as the desk must see it while the server is away: its cause,
// the server it concerns and libpq's own reason, whatever asked.
QString awayFailureProblem(const std::optional<DbError>& e, const Connection& db)
{
    if (!e)
        return QStringLiteral("it went through");
    if (e->cause() != DbError::Cause::ConnectionLost && e->cause() != DbError::Cause::ServerUnreachable)
        return QStringLiteral("cause %1: %2").arg(int(e->cause())).arg(e->text());
    if (e->path() != db.path() || e->engineText().isEmpty() || e->engineText().contains(u"Driver not loaded"))
        return QStringLiteral("told as: ") + e->text();
    return {};
}

} // namespace

class TestPostgres : public QObject
{
    Q_OBJECT
private slots:
    void serverErrorStatesNameTheirCause_data();
    void serverErrorStatesNameTheirCause();
    void caselessMatching_data();
    void caselessMatching();
    void codeLookupsUseIndexes();
    void toolListPagesComeInIndexOrder();
    void toolsWithoutIdentityAreFoundThroughAnIndex_data();
    void toolsWithoutIdentityAreFoundThroughAnIndex();
    void issuedFirstAndYesNoValues_data();
    void issuedFirstAndYesNoValues();
    void keysetPagesKeepEveryRowOnce_data();
    void keysetPagesKeepEveryRowOnce();
    void describedStatementsOnBothEngines_data();
    void describedStatementsOnBothEngines();
    void emptyServerDatabaseIsLaidOutLikeTheFile();
    void unreachableServerNamesWhereAndWho();
    void passwordFromThePasswordFile_data();
    void passwordFromThePasswordFile();
    void lostConnectionFailsThenReconnects();
    void serverAwayFailsEveryStatementUntilItIsBack_data();
    void serverAwayFailsEveryStatementUntilItIsBack();
    void lockedToolRowHoldsOffAnotherDesk();
    void cleanupTestCase() { m_private.reset(); }

private:
    // A server of the test's own, which it stops and starts; running again
    // whatever the test before left.
    PgPrivateServer& privateServer()
    {
        if (!m_private)
            m_private = std::make_unique<PgPrivateServer>();
        m_private->up();
        return *m_private;
    }
    std::unique_ptr<PgPrivateServer> m_private;
};

void TestPostgres::serverErrorStatesNameTheirCause_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<DbError::Cause>("cause");
    using C = DbError::Cause;
    const struct {
        const char* name;
        const char* state;
        const char* text;
        C cause;
    } cases[] = {
        {"connection failure", "08006", "connection failure", C::ConnectionLost},
        {"connection does not exist", "08003", "", C::ConnectionLost},
        {"administrator shutdown", "57P01", "terminating connection due to administrator command", C::ConnectionLost},
        {"crash shutdown", "57P02", "", C::ConnectionLost},
        {"cannot connect now", "57P03", "the database system is starting up", C::ConnectionLost},
        {"wrong password", "28P01", "password authentication failed for user \"desk\"", C::ServerUnreachable},
        {"no such role", "28000", "role \"desk\" does not exist", C::ServerUnreachable},
        {"no such database", "3D000", "database \"tools\" does not exist", C::ServerUnreachable},
        {"row locked", "55P03", "could not obtain lock on row in relation \"tools\"", C::Busy},
        {"deadlock", "40P01", "deadlock detected", C::Busy},
        {"serialization failure", "40001", "could not serialize access", C::Busy},
        {"statement timeout", "57014", "canceling statement due to statement timeout", C::Busy},
        {"disk full", "53100", "could not extend file: No space left on device", C::DiskFull},
        {"no privilege", "42501", "permission denied for table tools", C::PermissionDenied},
        {"read-only server", "25006", "cannot execute INSERT in a read-only transaction", C::PermissionDenied},
        // libpq's own texts for a connection gone, with no state.
        {"closed unexpectedly", "", "server closed the connection unexpectedly", C::ConnectionLost},
        {"no connection", "", "no connection to the server", C::ConnectionLost},
        {"terminated", "", "FATAL: terminating connection due to administrator command", C::ConnectionLost},
        {"connect failed", "", "connection to server on socket \"/tmp/.s.PGSQL.5432\" failed", C::ConnectionLost},
        {"send failed", "", "could not send data to server: Broken pipe", C::ConnectionLost},
        {"receive failed", "", "could not receive data from server: Connection reset by peer", C::ConnectionLost},
        // Neighbours that are none of these.
        {"no state, other text", "", "syntax error at or near \"SELEC\"", C::Other},
        {"state wins over text", "23505", "server closed the connection: duplicate key", C::Other},
        {"out of memory", "53200", "out of memory", C::Other},
        {"no such table", "42P01", "relation \"tools\" does not exist", C::Other},
        {"integrity violation", "40002", "", C::Other},
    };
    for (const auto& c : cases)
        QTest::newRow(c.name) << QString::fromLatin1(c.state) << QString::fromUtf8(c.text) << c.cause;
}

void TestPostgres::serverErrorStatesNameTheirCause()
{
    QFETCH(QString, state);
    QFETCH(QString, text);
    QFETCH(DbError::Cause, cause);
    QCOMPARE(PostgresDialect::causeOfState(state, text), cause);
}

void TestPostgres::caselessMatching_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("condition"); // equals, in, trimmed, like
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("found");
    const struct {
        const char* name;
        const char* condition;
        const char* value;
        const char* found;
    } cases[] = {
        {"cyrillic word", "equals", "молоток", "МОЛОТОК"},
        {"cyrillic code", "equals", "ю-001", "Ю-001"},
        {"ascii", "equals", "drill-7", "DRILL-7"},
        {"no partial match", "equals", "молот", ""},
        {"in list", "in", "ю-001", "Ю-001"},
        {"trimmed", "trimmed", "молоток", "МОЛОТОК"},
        {"like cyrillic", "like", "%олот%", "МОЛОТОК"},
        {"like underscore literal", "like", "%a\\_b%", "A_B"},
        {"like underscore not a wildcard", "like", "%ю\\_001%", ""},
    };
    for (bool server : {false, true}) {
        for (const auto& c : cases) {
            QTest::addRow("%s %s", server ? "server" : "file", c.name)
                << server << QString::fromUtf8(c.condition) << QString::fromUtf8(c.value) << QString::fromUtf8(c.found);
        }
    }
}

void TestPostgres::caselessMatching()
{
    QFETCH(bool, server);
    QFETCH(QString, condition);
    QFETCH(QString, value);
    QFETCH(QString, found);
    EngineDb e(server);
    Connection& db = e.db;
    for (const QString& code : {QStringLiteral("МОЛОТОК"), QStringLiteral("Ю-001"), QStringLiteral("DRILL-7"),
                                QStringLiteral("A_B"), QStringLiteral("AxB")})
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique) VALUES (?, ?)"),
                {condition == u"trimmed" ? QStringLiteral(" %1\n").arg(code) : code, code});
    const SqlDialect& d = db.dialect();
    const QString column = QStringLiteral("ID_Tool");
    QString where;
    QVariantList params{value};
    if (condition == u"equals")
        where = d.caselessEquals(column, value);
    else if (condition == u"in") {
        where = d.caselessIn(column, 2);
        params << QStringLiteral("none");
    } else if (condition == u"trimmed")
        where = d.trimmedCaselessEquals(column);
    else
        where = d.caselessLike(column);
    Statement q = db.run(QStringLiteral("SELECT ID_Tool_Unique FROM Tools WHERE %1 ORDER BY ID").arg(where), params);
    QStringList rows;
    while (q->next())
        rows << q->value(0).toString();
    QCOMPARE(rows, found.isEmpty() ? QStringList() : QStringList{found});
}

void TestPostgres::codeLookupsUseIndexes()
{
    EngineDb e(true);
    Connection& db = e.db;
    db.command(QStringLiteral("SET enable_seqscan = off")); // a tiny table would be read whole anyway
    const struct {
        const char* table;
        const char* column;
        const char* index;
    } lookups[] = {
        {"Tools", "ID_Tool", "ix_tools_id_tool"},
        {"Tools", "ID_Tool_Unique", "ix_tools_id_tool_unique"},
        {"Users", "ID_User", "ix_users_id_user"},
        {"History", "ID_T", "ix_history_id_t"}, // a tool's card and its last issue
        {"History", "ID_U", "ix_history_id_u"},
    };
    for (const auto& l : lookups) {
        // The server plans no bound statement: the test's own constant stands in for the value.
        const QString where = db.dialect()
                                  .caselessEquals(QLatin1String(l.column), QStringLiteral("ю-001"))
                                  .replace(u'?', QStringLiteral("'ю-001'"));
        Statement plan = db.command(
            QStringLiteral("EXPLAIN SELECT * FROM %1 WHERE %2").arg(QLatin1String(l.table), where));
        QString text;
        while (plan->next())
            text += plan->value(0).toString() + u'\n';
        QVERIFY2(text.contains(QLatin1String(l.index)), qPrintable(text));
    }
}

void TestPostgres::toolListPagesComeInIndexOrder()
{
    // The tool list's first page is 40 rows of the index, not every tool sorted.
    EngineDb e(true);
    Connection& db = e.db;
    dbfixture::addTools(db, 2000);
    db.command(QStringLiteral("ANALYZE"));
    const SqlDialect& d = db.dialect();
    const Select list = Select(col::Tools::Table)
                            .where(col::Tools::WriteOff + QStringLiteral("<>") + d.sqlTrue())
                            .orderBy(d.falseFirst(col::Tools::Passed));
    const QList<OrderTerm> order = list.keysetOrder({}, col::Key);
    const QString sql = list.firstPage(d, order).replace(QStringLiteral("LIMIT ?"), QStringLiteral("LIMIT 40"));
    QString text;
    Statement plan = db.command(QStringLiteral("EXPLAIN ") + sql);
    while (plan->next())
        text += plan->value(0).toString() + u'\n';
    QVERIFY2(text.contains(QLatin1String("ix_tools_passed_id")) && !text.contains(QLatin1String("Sort")),
             qPrintable(text));
}

void TestPostgres::toolsWithoutIdentityAreFoundThroughAnIndex_data()
{
    addEngineRows();
}

void TestPostgres::toolsWithoutIdentityAreFoundThroughAnIndex()
{
    // The first idle look after every start asks for them: with a million
    // tools it must not read every row.
    QFETCH(bool, server);
    EngineDb e(server);
    Connection& db = e.db;
    const QString where = db.dialect().missingText(QStringLiteral("ID_Tool_Unique"));
    QString text;
    if (server) {
        db.command(QStringLiteral("SET enable_seqscan = off")); // a tiny table would be read whole anyway
        Statement plan = db.command(QStringLiteral("EXPLAIN SELECT ID FROM Tools WHERE %1").arg(where));
        while (plan->next())
            text += plan->value(0).toString() + u'\n';
        QVERIFY2(text.contains(QLatin1String("ix_tools_id_tool_unique")) && !text.contains(QLatin1String("Seq Scan")),
                 qPrintable(text));
    } else {
        Statement plan = db.run(QStringLiteral("EXPLAIN QUERY PLAN SELECT ID FROM Tools WHERE %1").arg(where));
        while (plan->next())
            text += plan->value(3).toString() + u'\n';
        QVERIFY2(text.contains(QLatin1String("INDEX ix_Tools_ID_Tool_Unique")) && !text.contains(QLatin1String("SCAN")),
                 qPrintable(text));
    }
    // And it finds exactly the tools without one.
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique) VALUES ('A', NULL), ('B', ''), ('C', 'C'), "
                           "('D', ' ')"));
    Statement found = db.run(QStringLiteral("SELECT ID_Tool FROM Tools WHERE %1 ORDER BY ID_Tool").arg(where));
    QStringList codes;
    while (found->next())
        codes << found->value(0).toString();
    QCOMPARE(codes, (QStringList{"A", "B"}));
}

void TestPostgres::issuedFirstAndYesNoValues_data()
{
    addEngineRows();
}

void TestPostgres::issuedFirstAndYesNoValues()
{
    QFETCH(bool, server);
    EngineDb e(server);
    Connection& db = e.db;
    Query tools(db);
    tools.setStatement(Select(QStringLiteral("Tools")).orderBy(QStringLiteral("ID")));
    tools.open();
    for (const auto& [code, passed] : {std::pair{"IN1", true}, {"OUT1", false}, {"IN2", true}, {"OUT2", false}}) {
        tools.append();
        tools.setValue(QStringLiteral("ID_Tool"), QLatin1String(code));
        tools.setValue(QStringLiteral("Passed"), passed);
        tools.setValue(QStringLiteral("Guarantee"), QDate(2025, 3, 4));
        tools.post();
        QCOMPARE(tools.boolean(QStringLiteral("Passed")), passed);
        QVERIFY(tools.integer(QStringLiteral("ID")) > 0); // the new row's key came back
    }

    Query ordered(db);
    ordered.setStatement(Select(QStringLiteral("Tools"))
                             .where(QStringLiteral("WriteOff<>") + db.dialect().sqlTrue())
                             .orderBy(db.dialect().falseFirst(QStringLiteral("Passed")))
                             .orderBy(QStringLiteral("ID")));
    ordered.open();
    QStringList codes;
    for (ordered.first(); !ordered.eof(); ordered.next()) {
        codes << ordered.text(QStringLiteral("ID_Tool"));
        // Read back as the file gives them: 0/1 and ISO dates.
        QCOMPARE(ordered.value(QStringLiteral("Passed")).toInt(), codes.last().startsWith(u"IN") ? 1 : 0);
        QCOMPARE(ordered.text(QStringLiteral("Guarantee")), QStringLiteral("2025-03-04"));
    }
    QCOMPARE(codes, (QStringList{"OUT1", "OUT2", "IN1", "IN2"}));

    // A title click on the yes/no column keeps the original store's order.
    QVERIFY(ordered.setSort(QStringLiteral("Passed DESC")));
    QCOMPARE(ordered.text(QStringLiteral("ID_Tool")), QStringLiteral("OUT1"));
}

void TestPostgres::keysetPagesKeepEveryRowOnce_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("sort");
    for (bool server : {false, true}) {
        for (const char* sort : {"Tool_Type ASC", "Tool_Type DESC", "Passed ASC", "Guarantee DESC"})
            QTest::addRow("%s %s", server ? "server" : "file", sort) << server << QString::fromLatin1(sort);
    }
}

void TestPostgres::keysetPagesKeepEveryRowOnce()
{
    QFETCH(bool, server);
    QFETCH(QString, sort);
    EngineDb e(server);
    Connection& db = e.db;
    constexpr int kRows = 1200; // several pages
    {
        Connection::Transaction t(db);
        for (int i = 1; i <= kRows; ++i) {
            // Every fifth type and guarantee missing: NULLs sort at opposite ends on the two engines.
            const QVariant type = i % 5 == 0 ? QVariant() : QVariant(QStringLiteral("Тип %1").arg(i % 7));
            const QVariant guarantee = i % 5 == 1 ? QVariant() : QVariant(QDate(2024, 1, 1).addDays(i % 11));
            db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Tool_Type, Guarantee, Passed) VALUES (?, ?, ?, %1)")
                        .arg(i % 3 == 0 ? db.dialect().sqlTrue() : db.dialect().sqlFalse()),
                    {dbfixture::toolCode(i), type, guarantee});
        }
        t.commit();
    }
    Query q(db);
    q.setStatement(Select(QStringLiteral("Tools")));
    q.open();
    QVERIFY(q.setSort(sort));
    while (q.canFetchMore())
        q.fetchMore();
    QCOMPARE(q.fetchedCount(), kRows);
    QSet<qint64> keys;
    const QString column = sort.section(u' ', 0, 0);
    // Yes/no sorts as the original store held it: true (-1) below false (0).
    const bool descending = sort.endsWith(u"DESC") != (column == u"Passed");
    for (int row = 0; row < q.fetchedCount(); ++row) {
        QVERIFY(q.setRecNo(row));
        keys.insert(q.integer(QStringLiteral("ID")));
        if (row == 0)
            continue;
        // Each page continues where the one before ended: rows of one value
        // stay together, NULLs in one block.
        const QVariant here = q.value(row, q.fieldIndex(column));
        const QVariant before = q.value(row - 1, q.fieldIndex(column));
        if (here.isNull() || before.isNull())
            continue;
        const int c = QString::compare(before.toString(), here.toString(), Qt::CaseInsensitive);
        QVERIFY2(descending ? c >= 0 : c <= 0, qPrintable(before.toString() + QStringLiteral(" / ") + here.toString()));
    }
    QCOMPARE(keys.size(), kRows);
    int nullBlocks = 0;
    for (int row = 0; row < q.fetchedCount(); ++row) {
        const bool isNull = q.value(row, q.fieldIndex(column)).isNull();
        if (isNull && (row == 0 || !q.value(row - 1, q.fieldIndex(column)).isNull()))
            ++nullBlocks;
    }
    QVERIFY(nullBlocks <= 1);
}

void TestPostgres::describedStatementsOnBothEngines_data()
{
    addEngineRows();
}

void TestPostgres::describedStatementsOnBothEngines()
{
    namespace T = col::Tools;
    QFETCH(bool, server);
    EngineDb e(server);
    Connection& db = e.db;
    const Select tools(T::Table);
    QVERIFY(!db.exists(tools));
    QCOMPARE(db.count(tools), 0);
    QVERIFY(db.largest(tools, col::Key).isNull());
    dbfixture::addTools(db, 5); // every third one is in the store
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Naim) VALUES ('O''Brien', 'Hammer')"));

    QVERIFY(db.exists(Select(tools).whereEquals(T::ID_Tool, QStringLiteral("O'Brien"))));
    QCOMPARE(db.count(Select(tools).where(T::Passed + QStringLiteral(" = ") + db.dialect().sqlTrue())), 1);
    QCOMPARE(db.largest(tools, col::Key).toLongLong(), 6);
    QCOMPARE(db.scalar(Select(tools).columns({T::Naim}).whereEquals(T::ID_Tool, QStringLiteral("O'Brien"))),
             QVariant(QStringLiteral("Hammer")));
    // The first of several rows in the described order.
    QCOMPARE(db.scalar(Select(tools).columns({T::ID_Tool}).orderBy(col::Key, true).limit(1)),
             QVariant(QStringLiteral("O'Brien")));

    // Values bound, another column's value taken in its own row, conditions joined with AND.
    const int changed = db.exec(Update(T::Table)
                                    .set(T::Naim, QStringLiteral("Drill; DROP TABLE Tools"))
                                    .setFromColumn(T::Model, T::ID_Tool)
                                    .where(T::ID_Tool + QStringLiteral(" LIKE ?"), {QStringLiteral("T%")})
                                    .whereEquals(T::Passed, db.dialect().toStorage(FieldKind::Bool, false)));
    QCOMPARE(changed, 4);
    QCOMPARE(db.count(Select(tools).whereEquals(T::Naim, QStringLiteral("Drill; DROP TABLE Tools"))), 4);
    QCOMPARE(db.count(Select(tools).where(T::Model + QStringLiteral(" = ") + T::ID_Tool)), 4);
    QCOMPARE(db.exec(Update(T::Table).set(T::Naim, QString()).whereEquals(col::Key, -1)), 0);
}

void TestPostgres::emptyServerDatabaseIsLaidOutLikeTheFile()
{
    PgTestDatabase pg;
    Connection server;
    server.open(pg.description());
    QVERIFY(server.userTables().isEmpty());
    createOriginalTables(server);
    QCOMPARE(dbfixture::upgrade(server), 1); // the storekeeper is asked once
    QCOMPARE(dbfixture::upgrade(server), 0); // nothing left to do at the next start

    TestData files; // the delivered file is at today's layout
    Connection file;
    file.open(files.dbPath());
    QStringList fileTables = file.userTables();
    fileTables.removeAll(QStringLiteral("sqlite_sequence"));
    QStringList serverTables = server.userTables();
    for (QString& t : fileTables)
        t = t.toLower();
    fileTables.sort();
    serverTables.sort();
    QCOMPARE(serverTables, fileTables);
    for (const QString& table : fileTables) {
        QStringList fileColumns, serverColumns;
        for (const TableColumn& c : file.columns(table))
            fileColumns << c.name.toLower() + u':' + QString::number(int(c.kind));
        for (const TableColumn& c : server.columns(table))
            serverColumns << c.name + u':' + QString::number(int(c.kind));
        QCOMPARE(serverColumns, fileColumns);
    }
}

void TestPostgres::unreachableServerNamesWhereAndWho()
{
    PgTestDatabase pg;
    ConnectionDescription wrong = pg.description();
    wrong.name = QStringLiteral("no_such_database");
    wrong.user = QStringLiteral("nobody_here");
    Connection db;
    try {
        db.open(wrong);
        QFAIL("opened a database that does not exist");
    } catch (const DbError& e) {
        QCOMPARE(e.cause(), DbError::Cause::ServerUnreachable);
        Messages texts;
        setMessages(texts, false);
        const QString shown = openFailureText(e, texts);
        for (const QString& part : {wrong.host, wrong.name, wrong.user})
            QVERIFY2(shown.contains(part), qPrintable(shown));
    }
    QVERIFY(!db.isOpen());
}

void TestPostgres::passwordFromThePasswordFile_data()
{
    QTest::addColumn<QString>("file");      // PGPASSFILE, in a temporary home folder; empty: not set
    QTest::addColumn<QString>("line");      // the file's text; null: no file
    QTest::addColumn<bool>("openToOthers"); // else mode 0600
    QTest::addColumn<QString>("told");      // the message naming the file's fault; empty: the login works
    const QString good = QStringLiteral("%1:*:%2:%3:secret\n");
    QTest::newRow("no file named by PGPASSFILE") << "pw/none" << QString() << false << "rsPasswordFileMissing";
    QTest::newRow("no file in the home folder") << "" << QString() << false << "rsPasswordFileMissing";
    QTest::newRow("file open to others") << "pw/pgpass" << good << true << "rsPasswordFileOpen";
    QTest::newRow("no line for this server") << ""
                                             << "%1:5999:%2:%3:secret\n"
                                             << false << "rsPasswordFileNoLine";
    QTest::newRow("the right line") << "" << good << false << "";
}

void TestPostgres::passwordFromThePasswordFile()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    QFETCH(bool, openToOthers);
    QFETCH(QString, told);
    PgTestDatabase pg;
    // A member of this role logs in with a password only (the test server's rule).
    TestRole role(pg, QStringLiteral("PASSWORD 'secret' IN ROLE tooldesk_password_login"));
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("pw")));
    const QString path = home.filePath(file.isEmpty() ? QStringLiteral(".pgpass") : file);
    if (!line.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(line.arg(PgTestDatabase::host(), pg.name(), role.name).toUtf8());
        f.close();
        const QFileDevice::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
        QVERIFY(QFile::setPermissions(path, openToOthers ? owner | QFile::ReadGroup | QFile::ReadOther : owner));
    }
    const EnvironmentVariable homeVariable("HOME", home.path());
    const EnvironmentVariable named("PGPASSFILE", file.isEmpty() ? QString() : path);
    ConnectionDescription d = pg.description();
    d.user = role.name;
    Connection db;
    try {
        db.open(d);
        QVERIFY2(told.isEmpty(), "logged in without the password");
        QCOMPARE(db.scalar(QStringLiteral("SELECT current_user")).toString(), role.name);
    } catch (const DbError& e) {
        QVERIFY2(!told.isEmpty(), qPrintable(e.text()));
        QCOMPARE(e.cause(), DbError::Cause::NoPassword);
        QCOMPARE(e.subject(), path); // where libpq looked
        Messages texts;
        setMessages(texts, true);
        const QString* fault = nullptr;
        for (const MessageText& m : messageTexts()) {
            if (told == QLatin1String(m.name))
                fault = &(texts.*(m.field));
        }
        QVERIFY(fault);
        const QString shown = openFailureText(e, texts);
        QVERIFY2(shown.startsWith(texts.rsDbNoPassword.arg(d.displayName(), fault->arg(path))), qPrintable(shown));
        QVERIFY2(shown.contains(u"no password supplied"), qPrintable(shown)); // libpq's own words below
    }
}

void TestPostgres::lostConnectionFailsThenReconnects()
{
    EngineDb e(true);
    Connection& db = e.db;
    const auto dropConnection = [&] {
        const int pid = db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
        e.pg->adminExec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
        return pid;
    };

    // A read is asked again on a new connection.
    const int first = dropConnection();
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 0);
    QVERIFY(db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt() != first);

    // A write is not: it may have been done before the answer was lost.
    dropConnection();
    try {
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T1')"));
        QFAIL("a write on a dropped connection succeeded");
    } catch (const DbError& error) {
        QCOMPARE(error.cause(), DbError::Cause::ConnectionLost);
        Messages texts;
        setMessages(texts, true);
        QVERIFY(eventFailure(error, texts).sentence.contains(texts.rsCauseConnectionLost));
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 0);
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T1')"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 1);
}

void TestPostgres::serverAwayFailsEveryStatementUntilItIsBack_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("crashed") << "immediate";
    QTest::newRow("shut down") << "fast";
}

void TestPostgres::serverAwayFailsEveryStatementUntilItIsBack()
{
    QFETCH(QString, mode);
    PgPrivateServer& server = privateServer();
    PgTestDatabase pg(server.host());
    Connection db;
    qint64 nowMs = 0;
    db.setClock([&nowMs] { return nowMs; });
    db.open(pg.description());
    createOriginalTables(db);
    ChangeWatch watch(db);
    watch.start();

    server.down(mode);
    const struct {
        const char* what;
        std::function<void()> statement;
    } statements[] = {
        {"idle look", [&] { watch.changedElsewhere(); }},
        {"read", [&] { db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")); }},
        {"write", [&] { db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T1')")); }},
        {"transaction", [&] { Connection::Transaction t(db); }},
        {"a table's layout", [&] { db.columns(QStringLiteral("History")); }},
        {"the list of tables", [&] { db.userTables(); }},
        {"a result set",
         [&] {
             Query q(db);
             q.setSql(QStringLiteral("SELECT * FROM Users"));
             q.open();
         }},
    };
    for (const auto& s : statements) {
        const QString problem = awayFailureProblem(failureOf(s.statement), db);
        QVERIFY2(problem.isEmpty(), qPrintable(QLatin1String(s.what) + QStringLiteral(": ") + problem));
        QVERIFY(db.isLost());
    }

    server.up();
    // The last attempt to reconnect was a moment ago: the server is not asked yet.
    const QString tooSoon = awayFailureProblem(
        failureOf([&] { db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")); }), db);
    QVERIFY2(tooSoon.isEmpty(), qPrintable(tooSoon));
    nowMs += 1000;
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 0);
    QVERIFY(!db.isLost());
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T1')"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 1);
    QVERIFY2(watch.changedElsewhere(), "reconnected: looked at once");
}

void TestPostgres::lockedToolRowHoldsOffAnotherDesk()
{
    EngineDb e(true);
    e.db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('T1')"));
    Connection other;
    other.setBusyTimeout(300);
    other.open(e.description());

    Query mine(e.db), theirs(other);
    for (Query* q : {&mine, &theirs}) {
        q->setStatement(Select(QStringLiteral("Tools")));
        q->open();
    }
    auto held = std::make_unique<Connection::Transaction>(e.db);
    mine.lockCurrent();
    {
        Connection::Transaction t(other);
        try {
            theirs.lockCurrent();
            QFAIL("a second desk locked a tool row another desk holds");
        } catch (const DbError& error) {
            QCOMPARE(error.cause(), DbError::Cause::Busy); // waited, then gave up
        }
    }
    held.reset(); // rolled back: the row is free
    Connection::Transaction t(other);
    theirs.lockCurrent();
    t.commit();
}

QTEST_MAIN(TestPostgres)
#include "tst_postgres.moc"
