#include "SqliteMaintenance.h"

#include "DbError.h"
#include "SqliteErrorCause.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sqlitemaintenance {

namespace {

using Cause = DbError::Cause;

QString engineText(sqlite3* db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

Cause causeOfErrno(int error)
{
    if (error == ENOSPC || error == EFBIG || error == EDQUOT)
        return Cause::DiskFull;
    if (error == EACCES || error == EPERM || error == EROFS)
        return Cause::ReadOnlyFolder;
    if (error == ENOENT)
        return Cause::NotFound;
    return Cause::Other;
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

bool syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
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

void backup(sqlite3* source, const QString& livePath, const QString& target)
{
    const QString absolute = QFileInfo(target).absoluteFilePath();
    const QString live = resolved(livePath);
    const QString wanted = resolved(absolute);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        if (wanted == live + QLatin1String(suffix) || sameFile(absolute, livePath + QLatin1String(suffix)))
            throw DbError(Cause::Other, target, QStringLiteral("a backup cannot replace the database it copies"));
    }
    const QString folder = QFileInfo(absolute).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw DbError(Cause::NotFound, folder, QStringLiteral("folder not found"));
    if (QFileInfo(absolute).isDir())
        throw DbError(Cause::Other, target, QStringLiteral("a folder of this name exists"));

    // Written beside the target and renamed into place: a failure at any
    // point leaves the previous backup, never half a file.
    QTemporaryFile part(absolute + QStringLiteral(".XXXXXX.part"));
    if (!part.open()) {
        const int error = errno;
        throw DbError(causeOfErrno(error), folder, part.errorString());
    }
    part.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    part.close();
    const QString partPath = part.fileName();

    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(partPath).constData(), &copy, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) // a failed copy is thrown away whole: no journal needed
        rc = sqlite3_exec(copy, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* job = sqlite3_backup_init(copy, "main", source, "main");
        if (!job) {
            rc = sqlite3_errcode(copy);
        } else {
            // One step copies every page under one read of the source: a
            // consistent state even while other desks write.
            for (int tries = 0;; ++tries) {
                rc = sqlite3_backup_step(job, -1);
                if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || tries >= 100)
                    break;
                sqlite3_sleep(50);
            }
            const int finished = sqlite3_backup_finish(job);
            rc = rc == SQLITE_DONE ? finished : rc;
        }
    }
    if (rc != SQLITE_OK) {
        const QString text = engineText(copy, rc);
        const Cause cause = sqliteErrorCause(copy, rc);
        sqlite3_close(copy);
        throw DbError(cause, target, text);
    }
    rc = sqlite3_close(copy);
    if (rc != SQLITE_OK)
        throw DbError(Cause::Other, target, QString::fromUtf8(sqlite3_errstr(rc)));
    if (!syncFile(partPath)) {
        const int error = errno;
        throw DbError(causeOfErrno(error), target, QString::fromLocal8Bit(std::strerror(error)));
    }
    if (::rename(QFile::encodeName(partPath).constData(), QFile::encodeName(absolute).constData()) != 0) {
        const int error = errno;
        throw DbError(causeOfErrno(error), target, QString::fromLocal8Bit(std::strerror(error)));
    }
    part.setAutoRemove(false); // renamed: nothing left to remove
    syncFile(folder);
}

} // namespace sqlitemaintenance
