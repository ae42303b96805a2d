#include "DatabaseFile.h"

#include "DbError.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kSuffixes[] = {"-wal", "-shm", "-journal"};
constexpr char kHeader[] = "SQLite format 3"; // and its terminating zero: 16 bytes

bool anyoneMayWrite(const QString& path)
{
    struct stat st {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool accessible(const QString& path, int mode)
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

// Whether another process has the engine's shared memory file open: each
// connection holds a read lock on its "dead man switch" byte.
bool sharedMemoryInUse(const QString& shm)
{
    const int fd = ::open(QFile::encodeName(shm).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 128; // the engine's UNIX_SHM_DMS byte
    lock.l_len = 1;
    const bool inUse = ::fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
    ::close(fd);
    return inUse;
}

} // namespace

bool DatabaseFile::writable(const QString& path)
{
    return accessible(path, W_OK) && anyoneMayWrite(path);
}

void DatabaseFile::checkOpenable(const QString& path)
{
    using Cause = DbError::Cause;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!info.exists() || info.isDir())
        throw DbError(Cause::NotFound, path, QStringLiteral("file not found"));
    if (info.size() == 0)
        throw DbError(Cause::Empty, path, QStringLiteral("the file is empty (0 bytes), not a database"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(Cause::ReadOnlyFile, path, QStringLiteral("cannot read the file: ") + file.errorString());
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray(kHeader, sizeof kHeader))
        throw DbError(Cause::NotDatabase, path, QStringLiteral("file is not a database"));
    if (!writable(path))
        throw DbError(Cause::ReadOnlyFile, path, QStringLiteral("the file is read-only"));
    if (!accessible(folder, W_OK | X_OK) || !anyoneMayWrite(folder))
        throw DbError(Cause::ReadOnlyFolder, folder,
                      QStringLiteral("the folder is read-only (the database keeps its log files beside its file)"));
}

void DatabaseFile::createEmpty(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DbError(DbError::Cause::Other, path, QStringLiteral("a file of this name exists already"));
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // Writing the header makes it a database of zero tables rather than a
    // zero-byte file, which the program refuses to open.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr);
    const QString error = rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(path);
        throw DbError(DbError::Cause::Other, path, error);
    }
}

DatabaseFile::Companions::Companions(const QString& path)
    : m_path(path)
{
    for (int i = 0; i < 3; ++i)
        m_had[i] = QFileInfo::exists(path + QLatin1String(kSuffixes[i]));
}

void DatabaseFile::Companions::removeNewOnes() const
{
    const QString wal = m_path + QLatin1String(kSuffixes[0]);
    const QString shm = m_path + QLatin1String(kSuffixes[1]);
    const QString journal = m_path + QLatin1String(kSuffixes[2]);
    // A log that holds something, or a shared memory file another program
    // opened meanwhile, is not ours to remove.
    if (!m_had[1] && QFileInfo::exists(shm) && !sharedMemoryInUse(shm)
        && (m_had[0] || !QFileInfo::exists(wal) || QFileInfo(wal).size() == 0)) {
        QFile::remove(shm);
        if (!m_had[0])
            QFile::remove(wal);
    }
    if (!m_had[2] && QFileInfo::exists(journal) && QFileInfo(journal).size() == 0)
        QFile::remove(journal);
}
