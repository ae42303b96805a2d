// The database file is an ordinary SQLite file: the stock sqlite3 shell
// checks, writes and compacts it, and the program still matches codes
// ignoring letter case, through an index where the code is ASCII.
#include "DbFixture.h"

#include <QProcess>
#include <QtTest>

namespace {

struct ShellRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the stock shell on a file; empty exit code -1 when it is missing.
ShellRun shell(const QString& path, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), path, sql});
    ShellRun run;
    if (!p.waitForStarted(10000))
        return run;
    p.waitForFinished(60000);
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    run.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return run;
}

#define REQUIRE_SHELL(run)                                                                                             \
    if ((run).exitCode == -1 && (run).out.isEmpty() && (run).err.isEmpty())                                            \
    QFAIL("the sqlite3 shell did not run: install the Debian package sqlite3 (scripts/install-deps.sh)")

int found(Connection& db, const QString& table, const QString& column, const QString& value)
{
    return db
        .scalar(
            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, db.dialect().caselessEquals(column, value)),
            {value})
        .toInt();
}

} // namespace

class TstStockTools : public QObject
{
    Q_OBJECT

private slots:
    void previousLayoutLockedOtherToolsOut();
    void shellChecksWritesAndCompactsTheUpgradedFile();
    void codeLookupsUseAnIndex_data();
    void codeLookupsUseAnIndex();
    void matchingIgnoresCase_data();
    void matchingIgnoresCase();
};

void TstStockTools::previousLayoutLockedOtherToolsOut()
{
    TestData data;
    dbfixture::useOwnCollationLayout(data.dbPath(), true);
    const ShellRun run = shell(data.dbPath(), QStringLiteral("PRAGMA integrity_check;"));
    REQUIRE_SHELL(run);
    QVERIFY2(run.err.contains(QStringLiteral("no such collation sequence")), qPrintable(run.err));
}

void TstStockTools::shellChecksWritesAndCompactsTheUpgradedFile()
{
    TestData data;
    dbfixture::useOwnCollationLayout(data.dbPath(), true);
    {
        Connection db;
        db.open(data.dbPath());
        dbfixture::addTools(db, 50);
        db.exec(QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool"));
        dbfixture::upgrade(db);
        // The program writes as it does at the desk.
        Query history(db);
        history.setStatement(Schema::history());
        history.open();
        history.append();
        history.setValue(QStringLiteral("ID_U"), QStringLiteral("U1"));
        history.setValue(QStringLiteral("ID_T"), QStringLiteral("T00001"));
        history.setValue(QStringLiteral("Operation"), QStringLiteral("Выдан"));
        history.post();
    }
    const ShellRun run = shell(data.dbPath(),
                               QStringLiteral("PRAGMA integrity_check;"
                                              "INSERT INTO Users (ID_User, FIO) VALUES ('Ю-001', 'Юрьев Юрий');"
                                              "INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Passed) "
                                              "VALUES ('AB-77', 'AB-77', 1);"
                                              "VACUUM;"
                                              "SELECT COUNT(*) FROM History;"));
    REQUIRE_SHELL(run);
    QVERIFY2(run.exitCode == 0 && run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(run.out, QStringLiteral("ok\n1"));

    Connection db;
    db.open(data.dbPath());
    QCOMPARE(found(db, QStringLiteral("Users"), QStringLiteral("ID_User"), QStringLiteral("ю-001")), 1);
    QCOMPARE(found(db, QStringLiteral("Tools"), QStringLiteral("ID_Tool"), QStringLiteral("ab-77")), 1);
    QCOMPARE(found(db, QStringLiteral("Tools"), QStringLiteral("ID_Tool_Unique"), QStringLiteral("ab-77")), 1);
    QCOMPARE(found(db, QStringLiteral("Tools"), QStringLiteral("ID_Tool"), QStringLiteral("t00050")), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 51);
}

void TstStockTools::codeLookupsUseAnIndex_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::newRow("recipient code") << "Users"
                                    << "ID_User";
    QTest::newRow("tool code") << "Tools"
                               << "ID_Tool";
    QTest::newRow("tool identity") << "Tools"
                                   << "ID_Tool_Unique";
    QTest::newRow("journal by tool") << "History"
                                     << "ID_T";
}

void TstStockTools::codeLookupsUseAnIndex()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    const QString code = QStringLiteral("t-0001");
    Statement plan = db.run(QStringLiteral("EXPLAIN QUERY PLAN SELECT 1 FROM %1 WHERE %2")
                                .arg(table, db.dialect().caselessEquals(column, code)),
                            {code});
    QStringList details;
    while (plan->next())
        details << plan->value(3).toString();
    const QString text = details.join(u'\n');
    QVERIFY2(text.contains(QStringLiteral("USING INDEX")) || text.contains(QStringLiteral("USING COVERING INDEX")),
             qPrintable(text));
}

void TstStockTools::matchingIgnoresCase_data()
{
    QTest::addColumn<QString>("condition"); // "=" or a LIKE pattern's column
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("cyrillic name, =") << "="
                                      << "Naim"
                                      << "молоток" << 1;
    QTest::newRow("cyrillic name, LIKE") << "LIKE"
                                         << "Naim"
                                         << "%олот%" << 1;
    QTest::newRow("cyrillic code") << "="
                                   << "ID_Tool"
                                   << "ю-001" << 1;
    QTest::newRow("cyrillic code, other number") << "="
                                                 << "ID_Tool"
                                                 << "ю-002" << 0;
    QTest::newRow("ascii code") << "="
                                << "ID_Tool"
                                << "ab-1" << 1;
    QTest::newRow("ascii code, LIKE") << "LIKE"
                                      << "ID_Tool"
                                      << "%b-%" << 1;
    QTest::newRow("yo is not ye") << "="
                                  << "Naim"
                                  << "ключ ёлочный" << 1;
    QTest::newRow("ye does not find yo") << "="
                                         << "Naim"
                                         << "ключ елочный" << 0;
}

void TstStockTools::matchingIgnoresCase()
{
    QFETCH(QString, condition);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(int, expected);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Naim) VALUES ('Ю-001', 'МОЛОТОК'), ('AB-1', 'Ключ Ёлочный')"));
    const QString where = condition == u"=" ? db.dialect().caselessEquals(column, value)
                                            : column + QStringLiteral(" LIKE ? ESCAPE '\\'");
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ") + where, {value}).toInt(), expected);
}

QTEST_GUILESS_MAIN(TstStockTools)
#include "tst_stocktools.moc"
