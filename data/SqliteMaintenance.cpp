#include "SqliteMaintenance.h"

#include "DbError.h"
#include "SqliteErrorCause.h"
#include "WholeFileWriter.h"
#include "WorkCancelled.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <sqlite3.h>
#include <sys/stat.h>

namespace sqlitemaintenance {

namespace {

// 8 MB of 4 kB pages between two progress calls.
constexpr int kBackupPagesPerStep = 2048;

using Cause = DbError::Cause;

QString engineText(sqlite3* db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Why writing the copy failed, from the engine's view of it.
FileWriteError::Cause copyCause(Cause cause)
{
    switch (cause) {
    case Cause::DiskFull:
        return FileWriteError::Cause::DiskFull;
    case Cause::ReadOnlyFile:
    case Cause::ReadOnlyFolder:
        return FileWriteError::Cause::NoPermission;
    case Cause::NotFound:
        return FileWriteError::Cause::FolderMissing;
    default:
        return FileWriteError::Cause::Other;
    }
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The target path with its folder's links resolved, to compare with the
// live file (the target itself need not exist yet).
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

// What PRAGMA integrity_check finds wrong with the copy at path; empty when
// it is sound. The copy is opened as immutable: no lock and no log files
// beside it.
QString integrityProblems(const QString& path)
{
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    QStringList problems;
    sqlite3_stmt* statement = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check(20)", -1, &statement, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            problems << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    if (rc != SQLITE_DONE)
        problems << engineText(db, rc);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return QStringLiteral("PRAGMA integrity_check:\n") + problems.join(u'\n');
}

} // namespace

bool checkpoint(sqlite3* db, const QString& path, int busyTimeoutMs)
{
    int logFrames = 0;
    int written = 0;
    // A passive checkpoint never waits for readers or the writer: it copies
    // what it can.
    int rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logFrames, &written);
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        return false;
    if (rc != SQLITE_OK)
        throw DbError(sqliteErrorCause(db, rc), path, engineText(db, rc));
    if (logFrames < 0)
        return true; // no log: the file holds everything already
    if (written < logFrames)
        return false; // another desk still reads an older state
    if (logFrames == 0)
        return true;
    // Everything is in the file; empty the log too when nobody is reading,
    // again without waiting.
    sqlite3_busy_timeout(db, 0);
    rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    if (rc != SQLITE_OK && (rc & 0xFF) != SQLITE_BUSY && (rc & 0xFF) != SQLITE_LOCKED)
        throw DbError(sqliteErrorCause(db, rc), path, engineText(db, rc));
    return true;
}

void backup(sqlite3* source, const QString& livePath, const QString& target, WorkProgress* progress)
{
    const QString absolute = QFileInfo(target).absoluteFilePath();
    const QString live = resolved(livePath);
    const QString wanted = resolved(absolute);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        if (wanted == live + QLatin1String(suffix) || sameFile(absolute, livePath + QLatin1String(suffix)))
            throw FileWriteError(FileWriteError::Cause::SourceFile, target, QString());
    }

    // Written beside the target, checked and renamed into place: a failure
    // at any point leaves the previous backup, never half a file.
    WholeFileWriter file(absolute);
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(file.temporaryPath()).constData(), &copy, SQLITE_OPEN_READWRITE,
                             nullptr);
    if (rc == SQLITE_OK) // a failed copy is thrown away whole: no journal needed
        rc = sqlite3_exec(copy, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        // Every step reads under one read transaction of the source: a
        // consistent state even while other desks write, and a copy that
        // never starts over because they did.
        // (BEGIN alone reads nothing yet: each step would take and drop a
        // read of its own.)
        bool ownRead = false;
        if (sqlite3_get_autocommit(source) != 0) {
            ownRead = sqlite3_exec(source, "BEGIN; SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr)
                == SQLITE_OK;
            if (!ownRead && sqlite3_get_autocommit(source) == 0)
                sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr); // then step by step as it comes
        }
        sqlite3_backup* job = sqlite3_backup_init(copy, "main", source, "main");
        if (!job) {
            rc = sqlite3_errcode(copy);
        } else {
            try {
                for (int tries = 0;;) {
                    rc = sqlite3_backup_step(job, kBackupPagesPerStep);
                    if (rc == SQLITE_OK || rc == SQLITE_DONE) {
                        const int total = sqlite3_backup_pagecount(job);
                        advanceOrCancel(progress, total - sqlite3_backup_remaining(job), total);
                        if (rc == SQLITE_OK)
                            continue;
                    }
                    if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || ++tries > 100)
                        break;
                    sqlite3_sleep(50);
                }
            } catch (const WorkCancelled&) {
                sqlite3_backup_finish(job);
                sqlite3_close(copy);
                if (ownRead)
                    sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
                throw; // the temporary file goes with the writer
            }
            const int finished = sqlite3_backup_finish(job);
            rc = rc == SQLITE_DONE ? finished : rc;
        }
        if (ownRead)
            sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString text = engineText(copy, rc);
        const Cause cause = sqliteErrorCause(copy, rc);
        sqlite3_close(copy);
        throw FileWriteError(copyCause(cause), target, text);
    }
    rc = sqlite3_close(copy);
    if (rc != SQLITE_OK)
        throw FileWriteError(FileWriteError::Cause::Other, target, QString::fromUtf8(sqlite3_errstr(rc)));
    // The engine copies pages as they are: a damaged page of the database
    // would go into the copy unnoticed.
    file.commit(integrityProblems);
}

} // namespace sqlitemaintenance
