#pragma once

#include "FileWriteError.h"

#include <QString>
#include <functional>
#include <memory>

class DescriptorDevice;
class QIODevice;

// Every file the program writes goes through here, so it is whole or not
// written at all: the content goes into a temporary file beside the target,
// named ".<target name>.tooldesk-XXXXXX.part", which is flushed, synced and
// checked (not empty, no write failed, the caller's own check) and only then
// renamed over the target; the folder is synced after. On any failure the
// temporary file is removed, the earlier file stays as it was and
// FileWriteError says why.
//
// A target that exists and is not a regular file (a device, a FIFO, a
// folder) is refused; a link to a regular file writes the file it names.
// Temporary files of the same target left by a killed run are removed
// before writing (those of a run still writing are locked and kept).
class WholeFileWriter
{
public:
    // Checks the target and makes the temporary file. Throws FileWriteError.
    explicit WholeFileWriter(const QString& target);
    // Removes the temporary file unless it was committed.
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // The file that will be replaced (links resolved).
    const QString& target() const { return m_target; }
    // For writers that open the file themselves (the database engine).
    const QString& temporaryPath() const { return m_temporary; }
    // Where the content goes; writes are not buffered.
    QIODevice& device();

    // Returns what is wrong with the written file, or an empty text.
    using Check = std::function<QString(const QString& temporaryPath)>;
    // Syncs, checks and renames over the target. Throws FileWriteError.
    void commit(const Check& check = {});

    // Throws FileWriteError unless target may be written: its folder exists
    // and the target is absent or a regular file. For questions asked before
    // writing ("replace it?").
    static void checkTarget(const QString& target);
    // Makes a folder and its missing parents. Throws FileWriteError.
    static void makeFolder(const QString& folder);
    // The file name part every temporary file of target starts with.
    static QString temporaryPrefix(const QString& target);

    // Writes a whole file in one go.
    static void write(const QString& target, const std::function<void(QIODevice&)>& content, const Check& check = {});

private:
    void removeStaleTemporaries() const;
    void createTemporary();
    void keepOwnerAndPermissions() const;
    void discard();

    QString m_target;
    QString m_folder;
    QString m_temporary;
    int m_fd = -1;
    std::unique_ptr<DescriptorDevice> m_device;
    bool m_committed = false;
};
