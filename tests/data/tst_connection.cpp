#include "DbFixture.h"
#include "data/DbError.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <optional>

class TstConnection : public QObject
{
    Q_OBJECT

private slots:
    void openMissingFile_data();
    void openMissingFile();
    void openNonDatabase();
    void openUnusualPaths_data();
    void openUnusualPaths();
    void opensForSharedUse();
    void startFaultsAreNamed_data();
    void startFaultsAreNamed();
    void statementFaultsAreNamed_data();
    void statementFaultsAreNamed();

    void hasTable_data();
    void hasTable();
    void userTablesListsOnlyUserTables();
    void columnsInOrderWithKinds();
    void columnsFollowSchemaChanges();

    void boundValuesAndErrors();
    void transactionRollsBackUnlessCommitted();
    void transactionRollsBackOnError();
};

void TstConnection::openMissingFile_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing file") << "Data/Other.mdb";
    QTest::newRow("missing folder") << "Nowhere/DB.mdb";
}

void TstConnection::openMissingFile()
{
    QFETCH(QString, relative);
    TestData data;
    const QString path = data.folder() + relative;
    Connection db;
    try {
        db.open(path);
        QFAIL("a missing database was opened");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains(path), qPrintable(e.text()));
    }
    QVERIFY(!db.isOpen());
    QVERIFY(!QFile::exists(path));
}

void TstConnection::openNonDatabase()
{
    TestData data;
    QFile f(data.dbPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray("Not a database, just a text file left where the database was.\n").repeated(40));
    f.close();

    Connection db;
    QVERIFY_THROWS_EXCEPTION(DbError, db.open(data.dbPath()));
    QVERIFY(!db.isOpen());

    // The same object can still open a good file afterwards.
    TestData good;
    db.open(good.dbPath());
    QVERIFY(db.isOpen());
    QVERIFY(db.hasTable(QStringLiteral("Tools")));
}

void TstConnection::openUnusualPaths_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("cyrillic and spaces") << "Склад инструмента/Данные";
    QTest::newRow("url characters") << "a#b?c%20d&e=f";
}

void TstConnection::openUnusualPaths()
{
    QFETCH(QString, folder);
    TestData data;
    const QString dir = data.folder() + folder;
    QVERIFY(QDir().mkpath(dir));
    const QString path = dir + QStringLiteral("/DB.mdb");
    QVERIFY(QFile::copy(data.dbPath(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    {
        Connection db;
        db.open(path);
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES (?)"), {QStringLiteral("X1")});
    }
    // The row went to that file, not to one made under a mangled name.
    Connection again;
    again.open(path);
    QCOMPARE(again.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 1);
    QCOMPARE(QDir(dir).entryList({QStringLiteral("*.mdb")}, QDir::Files), QStringList{"DB.mdb"});
}

void TstConnection::opensForSharedUse()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    // WAL lets a second copy of the program read while this one writes.
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString().toLower(), QStringLiteral("wal"));
    QVERIFY(db.scalar(QStringLiteral("PRAGMA busy_timeout")).toInt() > 0);

    Connection other;
    other.open(data.dbPath());
    Connection::Transaction t(db);
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('W1')"));
    QCOMPARE(other.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 0);
    t.commit();
    QCOMPARE(other.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 1);
}

void TstConnection::startFaultsAreNamed_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<DbError::Cause>("cause");
    QTest::addColumn<bool>("concernsFolder");
    QTest::newRow("missing file") << "missing" << DbError::Cause::NotFound << false;
    QTest::newRow("zero bytes") << "empty" << DbError::Cause::Empty << false;
    QTest::newRow("not a database") << "garbage" << DbError::Cause::NotDatabase << false;
    QTest::newRow("read-only file") << "readOnlyFile" << DbError::Cause::ReadOnlyFile << false;
    QTest::newRow("read-only folder") << "readOnlyFolder" << DbError::Cause::ReadOnlyFolder << true;
    QTest::newRow("full disk") << "full" << DbError::Cause::DiskFull << false;
}

void TstConnection::startFaultsAreNamed()
{
    QFETCH(QString, fault);
    QFETCH(DbError::Cause, cause);
    QFETCH(bool, concernsFolder);
    TestData data;
    const QString path = data.dbPath();
    if (fault == u"missing") {
        QVERIFY(QFile::remove(path));
    } else if (fault == u"empty") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else if (fault == u"garbage") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("MZ\x90\x00 a program, not the database ").repeated(200));
    }
    // Permission bits are checked as such, so the cases hold for root too.
    std::optional<dbfixture::PermissionsFor> readOnly;
    if (fault == u"readOnlyFile")
        readOnly.emplace(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (fault == u"readOnlyFolder")
        readOnly.emplace(data.data(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    const dbfixture::Untouched before(path);

    Connection db;
    try {
        // The log's shared memory needs 32 KiB: a smaller limit fails it.
        std::optional<dbfixture::FileSizeLimit> full;
        if (fault == u"full")
            full.emplace(16 * 1024);
        db.open(path);
        QFAIL("the database opened");
    } catch (const DbError& e) {
        QCOMPARE(e.cause(), cause);
        QCOMPARE(QDir(e.path()), QDir(concernsFolder ? QFileInfo(path).absolutePath() : path));
        QVERIFY2(e.text().contains(e.path()), qPrintable(e.text()));
        QVERIFY(!e.engineText().isEmpty());
    }
    QVERIFY(!db.isOpen());
    QVERIFY2(before.stillSo(), qPrintable(dbfixture::Untouched::listing(path).join(u' ')));
}

void TstConnection::statementFaultsAreNamed_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<DbError::Cause>("cause");
    QTest::newRow("another desk writes") << "busy" << DbError::Cause::Busy;
    QTest::newRow("read-only") << "readOnly" << DbError::Cause::ReadOnlyFile;
    QTest::newRow("full disk") << "full" << DbError::Cause::DiskFull;
}

void TstConnection::statementFaultsAreNamed()
{
    QFETCH(QString, fault);
    QFETCH(DbError::Cause, cause);
    TestData data;
    Connection db;
    db.setBusyTimeout(50);
    db.open(data.dbPath());
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('kept')"));
    Connection other;
    other.open(data.dbPath());
    if (fault == u"busy")
        other.command(QStringLiteral("BEGIN IMMEDIATE"));
    if (fault == u"readOnly")
        db.command(QStringLiteral("PRAGMA query_only = 1"));
    const QByteArray photo(4 * 1024 * 1024, 'x'); // larger than the limit below
    try {
        std::optional<dbfixture::FileSizeLimit> full;
        if (fault == u"full")
            full.emplace(QFileInfo(data.dbPath()).size() + 64 * 1024);
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Photo) VALUES ('lost', ?)"), {photo});
        QFAIL("the row was written");
    } catch (const DbError& e) {
        QCOMPARE(e.cause(), cause);
        QCOMPARE(e.path(), data.dbPath());
    }
    if (fault == u"busy")
        other.command(QStringLiteral("ROLLBACK"));
    if (fault == u"readOnly")
        db.command(QStringLiteral("PRAGMA query_only = 0"));
    // Nothing half-written: the next event goes through.
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('next')"));
    QCOMPARE(other.scalar(QStringLiteral("SELECT group_concat(ID_Tool) FROM Tools")).toString(),
             QStringLiteral("kept,next"));
    QCOMPARE(other.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

void TstConnection::hasTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("as created") << "Tools" << true;
    QTest::newRow("lower") << "tools" << true;
    QTest::newRow("upper") << "OPERATIONS" << true;
    QTest::newRow("mixed") << "hIsToRy" << true;
    QTest::newRow("engine's own table") << "sqlite_sequence" << false;
    QTest::newRow("absent") << "Inventory" << false;
    QTest::newRow("prefix only") << "Tool" << false;
}

void TstConnection::hasTable()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    QCOMPARE(db.hasTable(name), expected);
}

void TstConnection::userTablesListsOnlyUserTables()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('A')")); // fills sqlite_sequence
    QStringList tables = db.userTables();
    tables.sort();
    QCOMPARE(tables,
             (QStringList{"AKTSpisaniya", "History", "MESTO", "NAIMENOVANIYA", "Operations", "State", "TOOLTYPES",
                          "Tools", "Users", "WORKTYPES"}));
}

void TstConnection::columnsInOrderWithKinds()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    const QList<TableColumn> cols = db.columns(QStringLiteral("tools")); // any letter case
    QStringList names;
    QList<FieldKind> kinds;
    for (const TableColumn& c : cols) {
        names << c.name;
        kinds << c.kind;
    }
    QCOMPARE(names, (QStringList{"ID",           "ID_Tool",        "Tool_Type",   "Proizvoditel", "SNumber",
                                 "Guarantee",    "Tool_State",     "Photo",       "Model",        "Date_Purchase",
                                 "Passed",       "OwnerID",        "Price",       "Naim",         "Inv",
                                 "Mesto",        "ID_Tool_Unique", "Issued_date", "WriteOff",     "WriteOff_AKT_ID",
                                 "WriteOffNote", "LoanDays"}));
    QCOMPARE(kinds, (QList<FieldKind>{FieldKind::Integer, FieldKind::Text,   FieldKind::Text, FieldKind::Text,
                                      FieldKind::Text,    FieldKind::Date,   FieldKind::Text, FieldKind::Blob,
                                      FieldKind::Text,    FieldKind::Date,   FieldKind::Bool, FieldKind::Text,
                                      FieldKind::Real,    FieldKind::Text,   FieldKind::Text, FieldKind::Text,
                                      FieldKind::Text,    FieldKind::Date,   FieldKind::Bool, FieldKind::Integer,
                                      FieldKind::Text,    FieldKind::Integer}));
    QVERIFY(db.columns(QStringLiteral("NoSuchTable")).isEmpty());
}

void TstConnection::columnsFollowSchemaChanges()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    const int before = static_cast<int>(db.columns(QStringLiteral("State")).size());
    db.changeSchema(QStringLiteral("ALTER TABLE State ADD Extra TEXT"));
    QCOMPARE(dbfixture::columnNames(db, QStringLiteral("State")), (QStringList{"ID", "AName", "Extra"}));
    QCOMPARE(before, 2);

    db.changeSchema(QStringLiteral("CREATE TABLE Fresh (ID INTEGER PRIMARY KEY, Note TIME)"));
    QCOMPARE(db.columns(QStringLiteral("Fresh")).size(), 2);
    QCOMPARE(db.columns(QStringLiteral("Fresh")).at(1).kind, FieldKind::Time);
    db.changeSchema(QStringLiteral("DROP TABLE Fresh"));
    QVERIFY(db.columns(QStringLiteral("Fresh")).isEmpty());
}

void TstConnection::boundValuesAndErrors()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    const QString tricky = QStringLiteral("O'Brien \"Ключ\"; DROP TABLE Tools; --");
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Model) VALUES (?, ?)"), {QStringLiteral("Q1"), tricky});
    QCOMPARE(db.scalar(QStringLiteral("SELECT Model FROM Tools WHERE ID_Tool = ?"), {QStringLiteral("q1")}).toString(),
             tricky);
    QVERIFY(db.hasTable(QStringLiteral("Tools")));
    QVERIFY(
        !db.scalar(QStringLiteral("SELECT Model FROM Tools WHERE ID_Tool = ?"), {QStringLiteral("none")}).isValid());

    try {
        db.exec(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)"));
        QFAIL("a bad statement ran");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("NoSuchTable")), qPrintable(e.text())); // the engine's own text
    }
}

void TstConnection::transactionRollsBackUnlessCommitted()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    {
        Connection::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO State (AName) VALUES ('dropped')"));
    }
    {
        Connection::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO State (AName) VALUES ('kept')"));
        t.commit();
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(AName) FROM State")).toString(), QStringLiteral("kept"));
    // Seen from another connection too: nothing is left pending.
    Connection other;
    other.open(data.dbPath());
    QCOMPARE(other.scalar(QStringLiteral("SELECT COUNT(*) FROM State")).toInt(), 1);
}

void TstConnection::transactionRollsBackOnError()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    try {
        Connection::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO History (Operation) VALUES ('issue')"));
        db.exec(QStringLiteral("UPDATE NoSuchTable SET Passed = 1"));
        t.commit();
        QFAIL("the failing statement ran");
    } catch (const DbError&) {
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM History")).toInt(), 0);
    // No transaction is left open: the next one begins normally.
    Connection::Transaction t(db);
    db.exec(QStringLiteral("INSERT INTO History (Operation) VALUES ('return')"));
    t.commit();
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM History")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TstConnection)
#include "tst_connection.moc"
