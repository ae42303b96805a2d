#include "WholeFileWriter.h"

#include "DescriptorDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Cause = FileWriteError::Cause;

constexpr int kRandomLength = 6;
const QString kMark = QStringLiteral(".tooldesk-");
const QString kSuffix = QStringLiteral(".part");
// Longest file name most filesystems take, in bytes.
constexpr qsizetype kNameMax = 255;

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

bool statOf(const QString& path, struct stat& st, bool followLinks)
{
    return (followLinks ? ::stat(encoded(path).constData(), &st) : ::lstat(encoded(path).constData(), &st)) == 0;
}

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// The file a target names: an absolute path, a link followed to its file.
QString resolved(const QString& target)
{
    const QFileInfo info(target);
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (!info.isSymLink())
        return absolute;
    const QString real = info.canonicalFilePath();
    if (real.isEmpty())
        throw FileWriteError(Cause::NotRegularFile, absolute, QString()); // a link to nothing
    return real;
}

bool sameFile(int fd, const QString& path)
{
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && statOf(path, named, false) && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename is done; a failure here cannot be undone
    ::close(fd);
}

QString randomPart()
{
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString part;
    for (int i = 0; i < kRandomLength; ++i)
        part += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]);
    return part;
}

bool isRandomPart(QStringView text)
{
    if (text.size() != kRandomLength)
        return false;
    for (QChar c : text) {
        if (c.unicode() > 127 || !c.isLetterOrNumber())
            return false;
    }
    return true;
}

// Whether name is a temporary file of the target named targetName: ours,
// or one of the earlier versions' backups (<name>.XXXXXX.part).
bool isTemporaryOf(const QString& name, const QString& prefix, const QString& targetName)
{
    if (!name.endsWith(kSuffix))
        return false;
    const QStringView middle = QStringView(name).chopped(kSuffix.size());
    if (middle.startsWith(prefix))
        return isRandomPart(middle.mid(prefix.size()));
    const QString earlier = targetName + u'.';
    return middle.startsWith(earlier) && isRandomPart(middle.mid(earlier.size()));
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString& target)
    : m_target(resolved(target))
    , m_folder(parentOf(m_target))
{
    checkTarget(m_target);
    removeStaleTemporaries();
    createTemporary();
}

WholeFileWriter::~WholeFileWriter()
{
    discard();
}

QIODevice& WholeFileWriter::device()
{
    return *m_device;
}

QString WholeFileWriter::temporaryPrefix(const QString& target)
{
    // Cut so that the whole temporary name still fits a file name.
    QString name = QFileInfo(target).fileName();
    const qsizetype room = kNameMax - 1 - kMark.size() - kRandomLength - kSuffix.size();
    while (!name.isEmpty() && encoded(name).size() > room)
        name.chop(1);
    return u'.' + name + kMark;
}

void WholeFileWriter::checkTarget(const QString& target)
{
    const QString file = resolved(target);
    const QString folder = parentOf(file);
    struct stat st {
    };
    if (!statOf(folder, st, true))
        throw FileWriteError::fromErrno(errno, folder);
    if (!S_ISDIR(st.st_mode))
        throw FileWriteError::fromErrno(ENOTDIR, folder);
    if (statOf(file, st, false)) {
        if (!S_ISREG(st.st_mode))
            throw FileWriteError(Cause::NotRegularFile, file, QString());
    } else if (errno != ENOENT) {
        throw FileWriteError::fromErrno(errno, file);
    }
}

void WholeFileWriter::makeFolder(const QString& folder)
{
    QStringList missing;
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    for (;;) {
        struct stat st {
        };
        if (statOf(path, st, true)) {
            if (!S_ISDIR(st.st_mode))
                throw FileWriteError::fromErrno(ENOTDIR, path); // this file blocks the folder
            break;
        }
        const int error = errno;
        if (error != ENOENT && error != ENOTDIR)
            throw FileWriteError::fromErrno(error, path);
        if (error == ENOENT)
            missing.prepend(path);
        const QString parent = parentOf(path);
        if (parent == path)
            break;
        path = parent;
    }
    for (const QString& m : std::as_const(missing)) {
        if (::mkdir(encoded(m).constData(), 0777) != 0 && errno != EEXIST)
            throw FileWriteError::fromErrno(errno, m);
    }
}

void WholeFileWriter::removeStaleTemporaries() const
{
    const QString prefix = temporaryPrefix(m_target);
    const QString targetName = QFileInfo(m_target).fileName();
    const QStringList names = QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isTemporaryOf(name, prefix, targetName))
            continue;
        const QString path = m_folder + u'/' + name;
        const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {
        };
        // A writer still at work holds its lock: only an unlocked one is left over.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, path))
            ::unlink(encoded(path).constData());
        ::close(fd);
    }
}

void WholeFileWriter::createTemporary()
{
    const QString prefix = m_folder + u'/' + temporaryPrefix(m_target);
    for (int tries = 0; tries < 100; ++tries) {
        const QString path = prefix + randomPart() + kSuffix;
        const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            const int error = errno;
            if (error == EEXIST)
                continue;
            const Cause cause = FileWriteError::causeOfErrno(error);
            throw FileWriteError(cause, cause == Cause::DiskFull ? m_target : m_folder,
                                 FileWriteError::fromErrno(error, m_folder).systemText());
        }
        // Locked while it is written, so that another writer's clean-up
        // leaves it alone; a lock taken after another's clean-up removed it
        // would guard nothing.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !sameFile(fd, path)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_temporary = path;
        m_device = std::make_unique<DescriptorDevice>(fd);
        return;
    }
    throw FileWriteError(Cause::Other, m_folder, QStringLiteral("no free temporary file name"));
}

void WholeFileWriter::commit(const Check& check)
{
    try {
        if (m_fd < 0)
            throw FileWriteError(Cause::Other, m_target, QStringLiteral("already written"));
        if (const int error = m_device->failedErrno())
            throw FileWriteError::fromErrno(error, m_target);
        if (::fsync(m_fd) != 0)
            throw FileWriteError::fromErrno(errno, m_target);
        struct stat st {
        };
        if (::fstat(m_fd, &st) != 0)
            throw FileWriteError::fromErrno(errno, m_target);
        if (st.st_size == 0)
            throw FileWriteError(Cause::CheckFailed, m_target, QString()); // no writer makes an empty file
        if (check) {
            const QString wrong = check(m_temporary);
            if (!wrong.isEmpty())
                throw FileWriteError(Cause::CheckFailed, m_target, wrong);
        }
        // Checked again: something may have taken the name since.
        checkTarget(m_target);
        keepOwnerAndPermissions();
        if (::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0)
            throw FileWriteError::fromErrno(errno, m_target);
    } catch (const FileWriteError&) {
        discard();
        throw;
    }
    m_committed = true;
    syncFolder(m_folder);
    discard();
}

void WholeFileWriter::keepOwnerAndPermissions() const
{
    struct stat existing {
    };
    if (!statOf(m_target, existing, true))
        return;
    if (::fchown(m_fd, existing.st_uid, existing.st_gid) != 0) {
        // Only root may give a file away: the writer's own owner stays.
    }
    ::fchmod(m_fd, existing.st_mode & 07777);
}

void WholeFileWriter::discard()
{
    if (m_fd < 0)
        return;
    if (!m_committed && sameFile(m_fd, m_temporary))
        ::unlink(encoded(m_temporary).constData());
    m_device.reset();
    ::close(m_fd);
    m_fd = -1;
}

void WholeFileWriter::write(const QString& target, const std::function<void(QIODevice&)>& content, const Check& check)
{
    WholeFileWriter file(target);
    content(file.device());
    file.commit(check);
}
