#pragma once

#include "Messages.h"
#include "ProgramPaths.h"
#include "data/Connection.h"
#include "data/Query.h"

#include <QObject>
#include <functional>
#include <memory>

class DeskSelection;
class Settings;

// One running program's state that every window shares: the database
// connection and the shared result sets, the program's paths and settings,
// the current language with its texts, and the access mode.
class Session : public QObject
{
    Q_OBJECT
    // First member: the result sets below are built on it and die before it.
    std::unique_ptr<Connection> m_connection;

public:
    enum class AccessMode {
        None,          // before the sign-in
        Restricted,    // the sign-in window is asking
        Operator,      // issue and return, add records
        Administrator, // also edit, delete, settings, write-off
    };

    explicit Session(const QString& programFolder, QObject* parent = nullptr);
    explicit Session(const ProgramPaths& paths, QObject* parent = nullptr);
    ~Session() override;

    const ProgramPaths& paths() const { return m_paths; }
    Connection& connection() { return *m_connection; }
    Settings& settings() { return *m_settings; }
    DeskSelection& desk() { return *m_desk; }

    // Opens the database, the shared result sets and brings the layout up to
    // date; beforeUpgrade is called once before a long reconstruction.
    // Throws DbError: a database that cannot be opened or upgraded is never used.
    void open(const std::function<void()>& beforeUpgrade);

    // The shared result sets.
    Query qHistory;
    Query qTools;
    Query qUsers;
    Query qOper;
    Query qStat;
    // The work types: the rows the pages offer as choices and the work
    // types window shows and edits.
    Query qWorkTypes;

    // "RU" or "EN"; Russian until the sign-in sets it.
    const QString& language() const { return m_language; }
    bool russian() const { return m_language == u"RU"; }
    // Sets the language and every message text; other codes are ignored.
    void setLanguage(const QString& code);
    const Messages& texts() const { return m_texts; }

    AccessMode accessMode() const { return m_mode; }
    bool isAdministrator() const { return m_mode == AccessMode::Administrator; }
    void setAccessMode(AccessMode mode);

    // The administrator signed in while the password is still the delivered
    // one: the desk and the settings page remind him to change it.
    bool deliveredPassword() const { return m_deliveredPassword; }
    void setDeliveredPassword(bool inUse);

signals:
    void languageChanged();
    void accessModeChanged(AccessMode mode);
    void deliveredPasswordChanged(bool inUse);

private:
    ProgramPaths m_paths;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<DeskSelection> m_desk;
    QString m_language = QStringLiteral("RU");
    Messages m_texts;
    AccessMode m_mode = AccessMode::None;
    bool m_deliveredPassword = false;
};
