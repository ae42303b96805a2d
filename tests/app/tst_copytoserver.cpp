// Moving a store from the embedded file to a server database.
#include "app/CommandLine.h"
#include "core/Messages.h"
#include "data/Connection.h"
#include "support/DeskFixture.h"
#include "support/ProgramRun.h"

#include <QProcess>
#include <QSqlRecord>
#include <QtTest>

class TestCopyToServer : public QObject
{
    Q_OBJECT
private slots:
    void everyRowArrivesAndTheProgramStartsOnIt();
    void refusals_data();
    void refusals();
    void failedCopyLeavesTheServerEmpty();
    void terminalSeesEveryTableCopied();
};

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run copyCommand(const TestData& data)
{
    Run r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = runCommandLine({QStringLiteral("tooldesk"), QStringLiteral("--copy-database-to-server")}, data.folder(),
                              out, err)
                   .value_or(-1);
    return r;
}

// A few rows of every kind of value the store holds.
void fillFile(const TestData& data)
{
    Connection db;
    db.open(data.dbPath());
    const QByteArray photo("\x00\x01\xff photo \x00", 11);
    db.exec("INSERT INTO Users (ID_User, FIO, Photo) VALUES ('U1', 'Иванов И.И.', ?)", {photo});
    db.exec("INSERT INTO Users (ID_User, FIO) VALUES ('U2', NULL)");
    db.exec("DELETE FROM Users WHERE ID_User='U2'"); // a gap in the keys stays a gap
    db.exec("INSERT INTO Users (ID_User, FIO) VALUES ('U3', 'O''Brien')");
    db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Passed, Price, Guarantee, Photo) "
            "VALUES ('МОЛОТОК', 'МОЛОТОК', NULL, 0, 12.5, '2025-02-03', ?)",
            {photo});
    db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Passed, WriteOff) "
            "VALUES ('T2', 'T2', 'Дрель', 1, 1)");
    db.exec("INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation) VALUES ('U1', 'МОЛОТОК', '2025-02-03', "
            "'09:15:07', 'Выдан')");
    db.exec("INSERT INTO AKTSpisaniya (AName, ADate) VALUES ('Акт 1', '2025-02-04 10:11:12')");
}

QStringList rowsOf(Connection& db, const QString& table)
{
    QStringList rows;
    Statement q = db.run(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(db.dialect().quoteIdentifier(table)));
    while (q->next()) {
        QStringList values;
        for (int i = 0; i < q->record().count(); ++i) {
            const QVariant v = db.dialect().fromEngine(q->value(i));
            values << (v.isNull()                                ? QStringLiteral("NULL")
                           : v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex())
                                                                 : v.toString());
        }
        rows << values.join(u'|');
    }
    return rows;
}

// The real program, copied into data's folder so that it works on that Data
// folder, run with the copy command; under script(1) its output goes to a
// terminal, else to pipes. Returns everything it printed.
QString runProgram(const TestData& data, bool onTerminal)
{
    const QString program = data.folder() + QStringLiteral("tooldesk");
    if (!QFile::exists(program) && !QFile::copy(QStringLiteral(TOOLDESK_BINARY), program))
        return QStringLiteral("cannot copy the program");
    const QString command = program + QStringLiteral(" --copy-database-to-server");
    const ProgramOutcome outcome = onTerminal
        ? runWithoutDisplay(QStringLiteral("script"), {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")},
                            {}, 60000)
        : runWithoutDisplay(program, {QStringLiteral("--copy-database-to-server")}, {}, 60000);
    if (outcome.status < 0 && outcome.out.isEmpty() && outcome.err.isEmpty())
        return QStringLiteral("timed out");
    return outcome.out + outcome.err;
}

} // namespace

void TestCopyToServer::everyRowArrivesAndTheProgramStartsOnIt()
{
    PgTestDatabase pg;
    TestData data;
    fillFile(data);
    data.writeIni(pg.iniWith(data.readIni()));

    const Run r = copyCommand(data);
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(QStringLiteral("Tools\t2\t2")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("Users\t2\t2")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("History\t1\t1")), qPrintable(r.out));

    Connection file, server;
    file.open(data.dbPath());
    server.open(pg.description());
    for (const QString& table : file.userTables()) {
        if (table.startsWith(u"sqlite_"))
            continue;
        QVERIFY(server.hasTable(table));
        QCOMPARE(rowsOf(server, table), rowsOf(file, table));
    }
    // The planner knows the copied rows from the first statement on.
    QCOMPARE(
        server.scalar("SELECT COUNT(*) FROM pg_stat_user_tables WHERE relname = 'tools' AND last_analyze IS NOT NULL")
            .toInt(),
        1);
    // New rows continue after the copied keys.
    server.exec("INSERT INTO Users (ID_User) VALUES ('U4')");
    QCOMPARE(server.scalar("SELECT ID FROM Users WHERE ID_User='U4'").toInt(), 4);

    // The program starts on the copy as it is: nothing to create or upgrade.
    ProgramRun run(data.folder());
    QVERIFY(run.started);
    QCOMPARE(run.fakes.dialogs.texts("message"), QStringList());
    QCOMPARE(run.fakes.dialogs.texts("error"), QStringList());
}

void TestCopyToServer::refusals_data()
{
    QTest::addColumn<bool>("serverNamed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no server in the settings") << false << "names no server database";
    QTest::newRow("server database not empty") << true << "already holds tables";
}

void TestCopyToServer::refusals()
{
    QFETCH(bool, serverNamed);
    QFETCH(QString, expected);
    PgTestDatabase pg;
    pg.adminExec(QStringLiteral("CREATE TABLE users (id integer, id_user text)"));
    TestData data;
    fillFile(data);
    if (serverNamed)
        data.writeIni(pg.iniWith(data.readIni()));
    const Run r = copyCommand(data);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(expected), qPrintable(r.err));
    Connection server;
    server.open(pg.description());
    QCOMPARE(server.userTables(), QStringList{QStringLiteral("users")});
    QCOMPARE(server.scalar("SELECT COUNT(*) FROM users").toInt(), 0);
}

void TestCopyToServer::failedCopyLeavesTheServerEmpty()
{
    PgTestDatabase pg;
    TestData data;
    fillFile(data);
    {
        Connection file;
        file.open(data.dbPath());
        // SQLite keeps text in a number column; the server will not.
        file.exec("UPDATE Tools SET WriteOff_AKT_ID='no number' WHERE ID_Tool='T2'");
    }
    data.writeIni(pg.iniWith(data.readIni()));
    const Run r = copyCommand(data);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("no number")), qPrintable(r.err));
    Connection server;
    server.open(pg.description());
    QCOMPARE(server.userTables(), QStringList());
}

void TestCopyToServer::terminalSeesEveryTableCopied()
{
    Messages texts;
    setMessages(texts, true);
    // "Users: 2 of 2 rows, " and then the rate, whatever it was.
    const auto line = [&texts](const char* table, int rows) {
        const QString full = texts.rsProgressRows.arg(QLatin1String(table)).arg(rows).arg(rows);
        return full.left(full.indexOf(QStringLiteral("%4")));
    };
    for (const bool onTerminal : {true, false}) {
        PgTestDatabase pg;
        TestData data;
        fillFile(data);
        data.writeIni(pg.iniWith(data.readIni()));
        const QString printed = runProgram(data, onTerminal);
        QVERIFY2(printed.contains(QStringLiteral("Tools\t2\t2")), qPrintable(printed));
        if (onTerminal) {
            // Each table's line rewritten in place and ended before the summary.
            for (const auto& [table, rows] : {std::pair{"Users", 2}, {"Tools", 2}, {"History", 1}, {"MESTO", 0}})
                QVERIFY2(printed.contains(QStringLiteral("\r\x1b[K") + line(table, rows)), qPrintable(printed));
            QVERIFY2(printed.indexOf(line("History", 1)) < printed.indexOf(QStringLiteral("Tools\t2\t2")),
                     qPrintable(printed));
        } else {
            // A log file or a pipe gets only the summary.
            QVERIFY2(!printed.contains(line("Users", 2)), qPrintable(printed));
        }
    }
}

QTEST_MAIN(TestCopyToServer)
#include "tst_copytoserver.moc"
