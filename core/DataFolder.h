#pragma once

#include "ProgramPaths.h"

#include <QString>
#include <QStringList>

struct Messages;

// Which Data folder the program works on, for the window and every
// command-line mode alike, in this order:
// 1. the folder `--data DIR` names;
// 2. the folder the variable TOOLDESK_DATA names;
// 3. a folder `Data` beside the program (portable, as delivered in a folder);
// 4. installed: $XDG_DATA_HOME/tooldesk/Data (by default
//    ~/.local/share/tooldesk/Data), made from the installed template
//    <program>/../share/tooldesk/Data on the first start, never overwritten.
// Reports/ and WriteOff/ lie beside the chosen folder.
class DataFolder
{
public:
    enum class Source { Option, Environment, Portable, UserData };

    // What the choice reads; fromSystem() takes the running program's.
    struct Inputs {
        QString programFolder;
        QString option;      // --data's value, empty when not given
        QString variable;    // TOOLDESK_DATA
        QString xdgDataHome; // XDG_DATA_HOME
        QString home;        // HOME
        static Inputs fromSystem(const QString& programFolder, const QString& option);
    };

    static DataFolder choose(const Inputs& inputs);

    Source source() const { return m_source; }
    // Absolute, with a trailing separator.
    const QString& path() const { return m_path; }
    // The installed template the user's folder is made from.
    const QString& templateFolder() const { return m_template; }
    ProgramPaths paths() const { return ProgramPaths::ofDataFolder(m_path); }

    // Makes the user's folder from the template when it does not exist yet,
    // whole or not at all (copied to a sibling, then renamed). Returns what
    // went wrong in the given texts, empty when the folder is ready: a named
    // folder that does not exist, a missing template, a failed copy.
    QString prepare(const Messages& texts) const;

    // One line for --help and the settings page: the folder and why it is used.
    QString describe() const;

    // Takes `--data DIR` or `--data=DIR` out of arguments (the program's
    // name first, kept). Returns the folder, empty when not given; sets
    // *missingValue when --data has no folder after it.
    static QString takeOption(QStringList& arguments, bool* missingValue);

    // Before a Data folder is found no language is set: the system's then.
    static bool systemLanguageRussian();

private:
    Source m_source = Source::Portable;
    QString m_path;
    QString m_template;
};
