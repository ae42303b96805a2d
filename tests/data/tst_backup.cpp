// A copy of DB.mdb is a backup: the log is written back into the file when
// asked, and a consistent copy can be made at any moment; in a network
// folder the rollback journal replaces the log.
#include "DbFixture.h"
#include "data/DbError.h"
#include "data/FileSystemProbe.h"
#include "data/FileWriteError.h"
#include "data/WorkCancelled.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(FileWriteError::Cause)

namespace {

class NetworkFolders : public FileSystemProbe
{
public:
    bool isNetwork(const QString&) const override { return true; }
};

qint64 logSize(const QString& dbPath)
{
    return QFileInfo(dbPath + QStringLiteral("-wal")).size();
}

int toolsIn(const QString& path)
{
    Connection db;
    db.open(path);
    if (db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() != u"ok")
        return -1;
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt();
}

// The file alone, in a folder of its own, as a copy made by hand would be.
QString copyAlone(const QString& file, const QTemporaryDir& dir)
{
    const QString copy = dir.filePath(QStringLiteral("DB.mdb"));
    QFile::remove(copy);
    return QFile::copy(file, copy) ? copy : QString();
}

} // namespace

class TstBackup : public QObject
{
    Q_OBJECT

private slots:
    void checkpointMakesTheFileWhole();
    void checkpointDoesNotWaitForReaders();
    void backupHoldsEveryRow_data();
    void backupHoldsEveryRow();
    void backupReplacesAnOlderCopy();
    void backupInStepsIsOneMomentOrNothing_data();
    void backupInStepsIsOneMomentOrNothing();
    void backupRefusesTheLiveDatabase_data();
    void backupRefusesTheLiveDatabase();
    void failedBackupLeavesNoHalfFile_data();
    void failedBackupLeavesNoHalfFile();
    void networkFolderUsesTheRollbackJournal();
    void networkFileSystemTypes_data();
    void networkFileSystemTypes();
};

void TstBackup::checkpointMakesTheFileWhole()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    QCOMPARE(db.journalMode(), JournalMode::Wal);
    QVERIFY(db.checkpoint()); // nothing to do
    dbfixture::addTools(db, 200);
    QVERIFY(logSize(data.dbPath()) > 0);
    QTemporaryDir elsewhere;
    QCOMPARE(toolsIn(copyAlone(data.dbPath(), elsewhere)), 0); // the events are still in the log only

    QVERIFY(db.checkpoint());
    QCOMPARE(logSize(data.dbPath()), 0);
    QCOMPARE(toolsIn(copyAlone(data.dbPath(), elsewhere)), 200);
    QVERIFY(db.checkpoint());
}

void TstBackup::checkpointDoesNotWaitForReaders()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    Connection reader;
    reader.open(data.dbPath());
    reader.command(QStringLiteral("BEGIN"));
    QCOMPARE(reader.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 0); // holds this state

    dbfixture::addTools(db, 50);
    QVERIFY(!db.checkpoint()); // the reader needs the older pages: reported, not waited for
    QVERIFY(db.isOpen());

    reader.command(QStringLiteral("COMMIT"));
    QVERIFY(db.checkpoint());
    QTemporaryDir elsewhere;
    QCOMPARE(toolsIn(copyAlone(data.dbPath(), elsewhere)), 50);
}

void TstBackup::backupHoldsEveryRow_data()
{
    QTest::addColumn<bool>("checkpointFirst");
    QTest::newRow("rows in the log") << false;
    QTest::newRow("rows in the file") << true;
}

void TstBackup::backupHoldsEveryRow()
{
    QFETCH(bool, checkpointFirst);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 300);
    if (checkpointFirst)
        QVERIFY(db.checkpoint());
    else
        QVERIFY(logSize(data.dbPath()) > 0);
    QTemporaryDir target;
    const QString file = target.filePath(QStringLiteral("backup.mdb"));

    db.backupTo(file);

    QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList{"backup.mdb"});
    QTemporaryDir elsewhere;
    QCOMPARE(toolsIn(copyAlone(file, elsewhere)), 300);
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('after')"));
    QCOMPARE(toolsIn(copyAlone(file, elsewhere)), 300); // a copy of that moment
}

void TstBackup::backupReplacesAnOlderCopy()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 3);
    QTemporaryDir target;
    const QString file = target.filePath(QStringLiteral("backup.mdb"));
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("yesterday's backup");
    }
    db.backupTo(file);
    QTemporaryDir elsewhere;
    QCOMPARE(toolsIn(copyAlone(file, elsewhere)), 3);
}

void TstBackup::backupInStepsIsOneMomentOrNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("written") << false;
    QTest::newRow("cancelled") << true;
}

void TstBackup::backupInStepsIsOneMomentOrNothing()
{
    QFETCH(bool, cancel);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 10);
    // Photos enough for several steps of the copy: about 3,000 pages.
    for (int i = 1; i <= 4; ++i)
        db.exec(QStringLiteral("UPDATE Tools SET Photo = zeroblob(3000000) WHERE ID_Tool = ?"),
                {dbfixture::toolCode(i)});
    QTemporaryDir target;
    const QString file = target.filePath(QStringLiteral("backup.mdb"));
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("yesterday's backup");
    }

    // Another desk records a tool while the copy is under way.
    struct OtherDesk final : WorkProgress {
        OtherDesk(const QString& path, bool cancelling)
            : cancel(cancelling)
        {
            desk.open(path);
        }
        void setStage(const QString&) override { }
        bool advance(qint64 done, qint64 total) override
        {
            calls.append({done, total});
            if (calls.size() == 1)
                desk.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('meanwhile')"));
            return !cancel;
        }
        Connection desk;
        bool cancel;
        QList<QPair<qint64, qint64>> calls;
    } progress(data.dbPath(), cancel);

    if (cancel) {
        QVERIFY_THROWS_EXCEPTION(WorkCancelled, db.backupTo(file, &progress));
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"backup.mdb"});
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("yesterday's backup"));
    } else {
        db.backupTo(file, &progress);
        QTemporaryDir elsewhere;
        QCOMPARE(toolsIn(copyAlone(file, elsewhere)), 10);                   // the moment it started
        QCOMPARE(progress.calls.last().first, progress.calls.last().second); // told it is all copied
    }
    QVERIFY(progress.calls.size() >= 1);
    QVERIFY(progress.calls.first().first < progress.calls.first().second);
    // The copy's read is over: what this connection writes now, others see.
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES ('after')"));
    QCOMPARE(progress.desk.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 12);
}

void TstBackup::backupRefusesTheLiveDatabase_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("the file") << "Data/DB.mdb";
    QTest::newRow("another spelling") << "Data/../Data/./DB.mdb";
    QTest::newRow("a link to it") << "link/DB.mdb";
    QTest::newRow("its log") << "Data/DB.mdb-wal";
}

void TstBackup::backupRefusesTheLiveDatabase()
{
    QFETCH(QString, target);
    TestData data;
    QVERIFY(QFile::link(data.data(), data.folder() + QStringLiteral("link")));
    Connection db;
    db.open(data.dbPath());
    dbfixture::addTools(db, 10);
    try {
        db.backupTo(data.folder() + target);
        QFAIL("the live database was replaced");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), FileWriteError::Cause::SourceFile);
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools")).toInt(), 10);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

void TstBackup::failedBackupLeavesNoHalfFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<FileWriteError::Cause>("cause");
    using C = FileWriteError::Cause;
    QTest::newRow("no such folder") << "folder" << C::FolderMissing;
    QTest::newRow("full disk") << "full" << C::DiskFull;
    QTest::newRow("a FIFO named as the target") << "fifo" << C::NotRegularFile;
    QTest::newRow("a damaged page in the database") << "damaged" << C::CheckFailed;
}

void TstBackup::failedBackupLeavesNoHalfFile()
{
    QFETCH(QString, fault);
    QFETCH(FileWriteError::Cause, cause);
    TestData data;
    {
        Connection db;
        db.open(data.dbPath());
        dbfixture::addTools(db, 2000); // larger than the limit below
        QVERIFY(db.checkpoint());
    }
    if (fault == u"damaged")
        QVERIFY(dbfixture::damageMiddlePage(data.dbPath()));
    Connection db;
    db.open(data.dbPath());
    QTemporaryDir target;
    const QString file = fault == u"folder" ? target.filePath(QStringLiteral("missing/backup.mdb"))
                                            : target.filePath(QStringLiteral("backup.mdb"));
    if (fault == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    } else if (fault != u"folder") {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("yesterday's backup");
    }
    // A FIFO is never opened here: reading it would wait for a writer.
    const QStringList names = dbfixture::Untouched::listing(file);
    std::optional<dbfixture::Untouched> before;
    if (fault != u"fifo")
        before.emplace(file);
    try {
        std::optional<dbfixture::FileSizeLimit> full;
        if (fault == u"full")
            full.emplace(64 * 1024);
        db.backupTo(file);
        QFAIL("the backup was written");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), cause);
        if (fault == u"damaged")
            QVERIFY2(e.systemText().contains(QStringLiteral("integrity_check")), qPrintable(e.systemText()));
    }
    QCOMPARE(dbfixture::Untouched::listing(file), names);
    if (before)
        QVERIFY(before->stillSo());
    struct stat st {
    };
    if (fault == u"fifo")
        QVERIFY(::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
}

void TstBackup::networkFolderUsesTheRollbackJournal()
{
    TestData data;
    Connection db;
    db.setFileSystemProbe(std::make_unique<NetworkFolders>());
    db.open(data.dbPath());
    QCOMPARE(db.journalMode(), JournalMode::Rollback);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    dbfixture::addTools(db, 5);
    QVERIFY(!QFileInfo::exists(data.dbPath() + QStringLiteral("-wal")));
    QVERIFY(db.checkpoint()); // the file holds everything already
    QTemporaryDir elsewhere;
    QCOMPARE(toolsIn(copyAlone(data.dbPath(), elsewhere)), 5);
}

void TstBackup::networkFileSystemTypes_data()
{
    QTest::addColumn<qint64>("type");
    QTest::addColumn<bool>("network");
    QTest::newRow("NFS") << qint64(0x6969) << true;
    QTest::newRow("SMB") << qint64(0x517B) << true;
    QTest::newRow("CIFS") << qint64(0xFF534D42) << true;
    QTest::newRow("SMB2") << qint64(0xFE534D42) << true;
    QTest::newRow("CIFS as a negative long") << qint64(static_cast<int>(0xFF534D42)) << true;
    QTest::newRow("ext4") << qint64(0xEF53) << false;
    QTest::newRow("tmpfs") << qint64(0x01021994) << false;
    QTest::newRow("btrfs") << qint64(0x9123683E) << false;
    QTest::newRow("overlay") << qint64(0x794C7630) << false;
}

void TstBackup::networkFileSystemTypes()
{
    QFETCH(qint64, type);
    QFETCH(bool, network);
    QCOMPARE(FileSystemProbe::isNetworkType(static_cast<long>(type)), network);
}

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
