#include "DeletedOpenFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <unistd.h>

bool openFileDeleted(const QString& path)
{
    // The folder resolved as the system names it; the file itself may be gone.
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    const QByteArray gone = QFile::encodeName(folder + u'/' + info.fileName()) + " (deleted)";
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds)
        return false;
    bool deleted = false;
    while (const dirent* entry = ::readdir(fds)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray link = QByteArrayLiteral("/proc/self/fd/") + entry->d_name;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(link.constData(), target, sizeof target);
        if (n == gone.size() && QByteArray::fromRawData(target, n) == gone) {
            deleted = true;
            break;
        }
    }
    ::closedir(fds);
    return deleted;
}
