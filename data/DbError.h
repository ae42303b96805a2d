#pragma once

#include <QString>
#include <stdexcept>

// An error raised by the database layer. Its text is the engine's own message
// (after the file it concerns, when there is one), which the windows show as
// it stands; its cause lets a window say why in the user's language.
class DbError : public std::runtime_error
{
public:
    enum class Cause {
        NotFound,          // no database file (or folder) at the path
        Empty,             // a file of zero bytes
        NotDatabase,       // a file that is not an SQLite database
        ReadOnlyFile,      // the file may not be written
        ReadOnlyFolder,    // its folder may not be written (the log files live beside the file)
        DiskFull,          // no room on the disk, or a file size limit
        Busy,              // another desk holds the database
        ServerUnreachable, // the database server cannot be reached or refused the login
        ConnectionLost,    // the connection to the server broke off
        Corrupt,           // the file's pages are damaged
        BadSetting,        // the settings file names the database wrongly; subject: the setting as written
        NoPassword,        // the server wants a password and libpq found none; subject: the password file
        PermissionDenied,  // the server's role may not create tables or write, or the server only reads
        ForeignTables,     // a server database without the program's tables; subject: the tables it holds
        Other,
    };

    explicit DbError(const QString& text)
        : DbError(Cause::Other, QString(), text)
    {
    }

    DbError(Cause cause, const QString& path, const QString& engineText, const QString& subject = {})
        : std::runtime_error(joined(path, engineText).toStdString())
        , m_cause(cause)
        , m_path(path)
        , m_engineText(engineText)
        , m_text(joined(path, engineText))
        , m_subject(subject)
    {
    }

    // The same failure told with another cause.
    DbError withCause(Cause cause) const { return DbError(cause, m_path, m_engineText, m_subject); }

    Cause cause() const { return m_cause; }
    // The file or folder the error concerns; empty when none.
    const QString& path() const { return m_path; }
    const QString& engineText() const { return m_engineText; }
    const QString& text() const { return m_text; }
    // What the cause concerns besides the path (see the causes); often empty.
    const QString& subject() const { return m_subject; }

private:
    static QString joined(const QString& path, const QString& engineText)
    {
        return path.isEmpty() ? engineText : path + QStringLiteral(": ") + engineText;
    }

    Cause m_cause;
    QString m_path;
    QString m_engineText;
    QString m_text;
    QString m_subject;
};
