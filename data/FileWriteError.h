#pragma once

#include <QString>
#include <stdexcept>

// A file the program writes (report, document, backup) that was NOT written:
// the earlier file at that path, if any, is as it was. The cause lets a
// window say why in the user's language; the system's own text goes below.
class FileWriteError : public std::runtime_error
{
public:
    enum class Cause {
        DiskFull,       // no room on the disk, a quota or a file size limit
        NoPermission,   // the folder or the file may not be written
        FolderMissing,  // the target's folder does not exist
        NotAFolder,     // a file stands where a folder of the path should be
        NotRegularFile, // the target is a device, a FIFO, a folder, ...
        SourceFile,     // the target is the very file being copied
        CheckFailed,    // written, but the result failed its check
        Other,
    };

    FileWriteError(Cause cause, const QString& path, const QString& systemText)
        : std::runtime_error((path + QStringLiteral(": ") + systemText).toStdString())
        , m_cause(cause)
        , m_path(path)
        , m_systemText(systemText)
    {
    }

    // The cause of a failed system call's error number.
    static Cause causeOfErrno(int error);
    // The same, with the system's text for it.
    static FileWriteError fromErrno(int error, const QString& path);

    Cause cause() const { return m_cause; }
    // The file or folder concerned.
    const QString& path() const { return m_path; }
    const QString& systemText() const { return m_systemText; }

private:
    Cause m_cause;
    QString m_path;
    QString m_systemText;
};
