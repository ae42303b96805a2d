#pragma once

#include "data/Connection.h"
#include "data/DatabaseFile.h"
#include "data/DbError.h"
#include "data/OriginalTables.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "tests/support/PgTestDatabase.h"
#include "tests/support/TestData.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStringList>
#include <csignal>
#include <memory>
#include <sys/resource.h>

Q_DECLARE_METATYPE(DbError::Cause)

// Small helpers shared by the data tests: a copy of the delivered database,
// the start-up upgrade as the main window runs it, and generated rows.
namespace dbfixture {

// The main window's two result sets, opened as at start-up.
struct MainQueries {
    explicit MainQueries(Connection& db)
        : tools(db)
        , history(db)
    {
        tools.setStatement(Schema::toolsDesign(db.dialect()));
        tools.open();
        history.setStatement(Schema::history());
        history.open();
    }
    Query tools;
    Query history;
};

// Replaces the database at path with the five tables of the first release.
inline void useOriginalLayout(const QString& path)
{
    QFile::remove(path);
    DatabaseFile::createEmpty(path);
    Connection db;
    db.open(path);
    createOriginalTables(db);
}

// Replaces the database at path with one as the previous version wrote it:
// text columns declared with the program's own collation, so that no other
// tool could read the file. upgraded: as its start-up left it (every table,
// column and index); otherwise as it was delivered (the five tables).
inline void useOwnCollationLayout(const QString& path, bool upgraded)
{
    QFile::remove(path);
    DatabaseFile::createEmpty(path);
    Connection db;
    db.open(path);
    const QStringList statements{
        QStringLiteral(
            "CREATE TABLE \"Tools\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"ID_Tool\" TEXT COLLATE UNOCASE, "
            "\"Tool_Type\" TEXT COLLATE UNOCASE, \"Proizvoditel\" TEXT COLLATE UNOCASE, \"SNumber\" TEXT COLLATE "
            "UNOCASE, "
            "\"Guarantee\" DATE, \"Tool_State\" TEXT COLLATE UNOCASE, \"Photo\" BLOB, \"Model\" TEXT COLLATE UNOCASE, "
            "\"Date_Purchase\" DATE, \"Passed\" BOOLEAN NOT NULL DEFAULT 0, \"OwnerID\" TEXT COLLATE UNOCASE%1)")
            .arg(upgraded
                     ? QStringLiteral(", \"Price\" REAL, \"Naim\" TEXT COLLATE UNOCASE, \"Inv\" TEXT COLLATE UNOCASE, "
                                      "\"Mesto\" TEXT COLLATE UNOCASE, \"ID_Tool_Unique\" TEXT COLLATE UNOCASE, "
                                      "\"Issued_date\" DATE, \"WriteOff\" BOOLEAN NOT NULL DEFAULT 0, "
                                      "\"WriteOff_AKT_ID\" INTEGER, \"WriteOffNote\" TEXT COLLATE UNOCASE")
                     : QString()),
        QStringLiteral(
            "CREATE TABLE \"Users\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"ID_User\" TEXT COLLATE UNOCASE, "
            "\"FIO\" TEXT COLLATE UNOCASE, \"Phone\" TEXT COLLATE UNOCASE, \"Organization\" TEXT COLLATE UNOCASE, "
            "\"Otdel\" TEXT COLLATE UNOCASE, \"Shef_FIO\" TEXT COLLATE UNOCASE, \"Shef_Phone\" TEXT COLLATE UNOCASE, "
            "\"Photo\" BLOB)"),
        QStringLiteral(
            "CREATE TABLE \"History\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"ID_U\" TEXT COLLATE UNOCASE, "
            "\"ID_T\" TEXT COLLATE UNOCASE, \"ADate\" DATE, \"Operation\" TEXT COLLATE UNOCASE, "
            "\"Note\" TEXT COLLATE UNOCASE, \"FIO\" TEXT COLLATE UNOCASE, \"IType\" TEXT COLLATE UNOCASE, "
            "\"Model\" TEXT COLLATE UNOCASE, \"Organization\" TEXT COLLATE UNOCASE, \"State\" TEXT COLLATE UNOCASE%1)")
            .arg(upgraded ? QStringLiteral(", \"ATime\" TIME") : QString()),
        QStringLiteral(
            "CREATE TABLE \"State\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"AName\" TEXT COLLATE UNOCASE)"),
        QStringLiteral(
            "CREATE TABLE \"Operations\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"AName\" TEXT COLLATE UNOCASE)"),
    };
    const QStringList added{
        QStringLiteral(
            "CREATE TABLE \"NAIMENOVANIYA\"\n (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT,\n AField TEXT COLLATE "
            "UNOCASE,\n AField_2 TEXT COLLATE UNOCASE)"),
        QStringLiteral("CREATE TABLE \"MESTO\"\n (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT,\n AField TEXT COLLATE "
                       "UNOCASE,\n AField_2 TEXT COLLATE UNOCASE)"),
        QStringLiteral("CREATE TABLE \"TOOLTYPES\"\n (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT,\n AField TEXT COLLATE "
                       "UNOCASE,\n AField_2 TEXT COLLATE UNOCASE)"),
        QStringLiteral("CREATE TABLE \"WORKTYPES\"\n (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT,\n AField TEXT COLLATE "
                       "UNOCASE,\n AField_2 TEXT COLLATE UNOCASE)"),
        QStringLiteral("CREATE TABLE AKTSpisaniya\n (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT,\n AName TEXT COLLATE "
                       "UNOCASE,\n ADate DATETIME,\n ANote TEXT COLLATE UNOCASE)"),
        QStringLiteral("CREATE INDEX \"ix_Tools_ID_Tool\" ON \"Tools\" (\"ID_Tool\")"),
        QStringLiteral("CREATE INDEX \"ix_Tools_ID_Tool_Unique\" ON \"Tools\" (\"ID_Tool_Unique\")"),
        QStringLiteral("CREATE INDEX \"ix_Users_ID_User\" ON \"Users\" (\"ID_User\")"),
        QStringLiteral("CREATE INDEX \"ix_History_ID_T\" ON \"History\" (\"ID_T\")"),
        QStringLiteral("CREATE INDEX \"ix_History_ID_U\" ON \"History\" (\"ID_U\")"),
        QStringLiteral("CREATE INDEX \"ix_History_ADate\" ON \"History\" (\"ADate\")"),
        QStringLiteral("CREATE INDEX \"ix_Tools_Passed\" ON \"Tools\" (\"Passed\")"),
    };
    for (const QString& sql : statements)
        db.exec(sql);
    if (upgraded) {
        for (const QString& sql : added)
            db.exec(sql);
    }
}

// Opens the test's database: the copy of the delivered file, or in the
// PostgreSQL run of the test (TOOLDESK_TEST_ENGINE) a new database on the
// test server with the first release's tables, as a first start makes them.
inline void openTestDatabase(Connection& db, const TestData& data, std::unique_ptr<PgTestDatabase>& server)
{
    if (!PgTestDatabase::engineWanted()) {
        db.open(data.dbPath());
        return;
    }
    server = std::make_unique<PgTestDatabase>();
    db.open(server->description());
    createOriginalTables(db);
}

// Runs the whole upgrade; returns how often the callback was called.
inline int upgrade(Connection& db)
{
    int calls = 0;
    Schema(db, [&calls] { ++calls; }).upgrade();
    return calls;
}

inline QString toolCode(int i)
{
    return QStringLiteral("T%1").arg(i, 5, 10, QLatin1Char('0'));
}

// Tools T00001..Tn; every third one is issued. Works on the delivered layout.
inline void addTools(Connection& db, int count, int firstNumber = 1)
{
    Connection::Transaction t(db);
    for (int i = firstNumber; i < firstNumber + count; ++i) {
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Model, Passed, Date_Purchase) VALUES (?, ?, ?, ?)"),
                {toolCode(i), QStringLiteral("Model %1").arg(i), i % 3 == 0,
                 QDate(2020, 1, 1).addDays(i).toString(Qt::ISODate)});
    }
    t.commit();
}

// The schema text, to compare a database before and after a step.
inline QStringList masterText(Connection& db)
{
    QStringList rows;
    QSqlQuery q(db.database());
    q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"));
    while (q.next())
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString());
    return rows;
}

inline QStringList columnNames(Connection& db, const QString& table)
{
    QStringList names;
    for (const TableColumn& c : db.columns(table))
        names << c.name;
    return names;
}

// The bytes of a file, and the names in its folder, to show a failed open
// changed nothing.
struct Untouched {
    explicit Untouched(const QString& file)
        : path(file)
        , bytes(read(file))
        , names(listing(file))
    {
    }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    static QStringList listing(const QString& file)
    {
        return QDir(QFileInfo(file).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    bool stillSo() const { return read(path) == bytes && listing(path) == names; }
    QString path;
    QByteArray bytes;
    QStringList names;
};

// Spoils the page in the middle of a closed database file (its b-tree page
// header), as a failing disk would: the file still opens, but PRAGMA
// integrity_check fails.
inline bool damageMiddlePage(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = f.read(100);
    const int stored = (quint8(header.at(16)) << 8) | quint8(header.at(17));
    const qint64 pageSize = stored == 1 ? 65536 : stored;
    const qint64 pages = f.size() / pageSize;
    if (pages < 3)
        return false;
    f.seek(pages / 2 * pageSize);
    return f.write("\x05\xff\xff\xff\xff\xff\xff\xff", 8) == 8;
}

// Writes beyond a size fail as on a full disk (EFBIG, the signal ignored)
// while this lives; the limit applies to every file the process writes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

// Permissions of a file or folder, given back when this goes.
class PermissionsFor
{
public:
    PermissionsFor(const QString& path, QFile::Permissions permissions)
        : m_path(path)
        , m_old(QFile::permissions(path))
    {
        QFile::setPermissions(path, permissions);
    }
    ~PermissionsFor() { QFile::setPermissions(m_path, m_old); }
    PermissionsFor(const PermissionsFor&) = delete;
    PermissionsFor& operator=(const PermissionsFor&) = delete;

private:
    QString m_path;
    QFile::Permissions m_old;
};

} // namespace dbfixture
