#pragma once

#include <QString>

// The database file seen from outside the engine: what is checked before the
// engine may touch it, so that a file that cannot serve is named and left
// exactly as it was; and the one place that makes a new database file.
class DatabaseFile
{
public:
    // Throws DbError (NotFound, Empty, NotDatabase, ReadOnlyFile,
    // ReadOnlyFolder) unless path is an SQLite file the program may write,
    // in a folder where the engine may create its log files.
    static void checkOpenable(const QString& path);

    // Whether the program may write path. A process that ignores permission
    // bits (root) still counts a file no one may write as read-only.
    static bool writable(const QString& path);

    // Makes a new, empty SQLite database at path; never replaces a file.
    // Only the build step and tests make databases; the program never does.
    static void createEmpty(const QString& path);

    // The engine's companion files that did not exist before an open
    // attempt; removes those left behind after a failed one.
    class Companions
    {
    public:
        explicit Companions(const QString& path);
        void removeNewOnes() const;

    private:
        QString m_path;
        bool m_had[3] = {};
    };
};
