#include "FileWriteError.h"

#include <cerrno>
#include <cstring>

FileWriteError::Cause FileWriteError::causeOfErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Cause::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return Cause::NoPermission;
    case ENOENT:
        return Cause::FolderMissing;
    case ENOTDIR:
        return Cause::NotAFolder;
    case EISDIR:
        return Cause::NotRegularFile;
    default:
        return Cause::Other;
    }
}

FileWriteError FileWriteError::fromErrno(int error, const QString& path)
{
    return FileWriteError(causeOfErrno(error), path, QString::fromLocal8Bit(std::strerror(error)));
}
