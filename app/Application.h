#pragma once

#include "Forms.h"
#include "config/Localization.h"
#include "config/Messages.h"

#include <QString>
#include <memory>

class TfmMain;
class TfmSettings;
class TfmCFG;
class TfmTools;
class TfmDict;
class TfmEditor_T;
class TfmCard_T;
class TfmHend;
struct Platform;

// One running program: creates every window once in the fixed start order
// on a program folder, and ends them in order.
class Application
{
public:
    Application(const QString& programFolder, Platform& platform);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Timers are off in tests, which call the tick handlers themselves.
    void setTimersEnabled(bool enabled) { m_timersEnabled = enabled; }

    // Creates the windows; false when the program must end (the reason has
    // been shown).
    bool start();
    // Shows the main window in the middle of the screen.
    void show();

    TfmMain* main() const { return m_main.get(); }
    TfmSettings* settings() const { return m_forms.settings; }
    Forms& forms() { return m_forms; }
    Localization& localization() { return m_localization; }
    const QString& programFolder() const { return m_folder; }

private:
    QString m_folder;
    Platform& m_platform;
    Messages m_texts;
    Forms m_forms;
    Localization m_localization;
    std::unique_ptr<TfmMain> m_main;
    std::unique_ptr<TfmDict> m_dictNaim;
    std::unique_ptr<TfmDict> m_dictMesto;
    std::unique_ptr<TfmDict> m_dictTypes;
    std::unique_ptr<TfmEditor_T> m_editorT;
    std::unique_ptr<TfmCard_T> m_cardT;
    std::unique_ptr<TfmHend> m_hend;
    std::unique_ptr<TfmCFG> m_cfg;
    bool m_timersEnabled = true;
    bool m_started = false;
};
