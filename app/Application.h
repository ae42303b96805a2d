#pragma once

#include "QtLanguage.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "widgets/Localization.h"

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
class TfmUsers;
class TfmEditor_U;
class TfmCard_U;
class TfmWorkTypes;
class TfmWorkTypes_Editor;
class TfmWriteOff;
class TfmReport;
class TfmLabels;
class TfmImport;
class TfmOut;
struct Platform;

// One running program: the session every window shares, every window
// created once in the fixed start order, and the one place that knows the
// concrete windows: it opens them for each other.
class Application : public Navigator
{
    Q_OBJECT
public:
    Application(const ProgramPaths& paths, Platform& platform);
    // On the Data folder beside programFolder.
    Application(const QString& programFolder, Platform& platform);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Timers are off in tests, which call the tick handlers themselves.
    void setTimersEnabled(bool enabled) { m_timersEnabled = enabled; }

    // Creates the windows; false when the program must end (the reason has
    // been shown).
    bool start();
    // Shows the main window in the middle of the screen.
    void show();

    Session& session() { return m_session; }
    TfmMain* main() const { return m_main.get(); }
    Localization& localization() { return m_localization; }
    // Every window, in start order.
    const QList<QWidget*>& windows() const { return m_localization.windows(); }
    // The window with this object name, or none.
    QWidget* window(const QString& name) const;

    // Navigator
    void showToolList() override;
    void openToolCard() override;
    bool openToolCardOf(qint64 toolKey) override;
    void openToolEditor() override;
    void openManualIssue(const QString& toolCode) override;
    void openDictionary(DictionaryKind kind) override;
    void showRecipientList() override;
    void openRecipientCard() override;
    void openRecipientEditor() override;
    void openWorkTypes() override;
    void openWorkTypeEditor() override;
    void openLabels(LabelKind kind, const QString& chosen, const std::function<QStringList()>& listed) override;
    void openImport(ImportKind kind) override;

private:
    void createToolWindows();
    void createRecipientWindows();
    void createDictionaries();
    template<typename Window>
    Window* adopt(std::unique_ptr<Window>& owner, std::unique_ptr<Window> window);

    Platform& m_platform;
    Session m_session;
    QtLanguage m_qtLanguage;
    Localization m_localization;
    std::unique_ptr<TfmMain> m_main;
    TfmTools* m_tools = nullptr;       // a page of the main window
    TfmSettings* m_settings = nullptr; // a page of the main window
    TfmWriteOff* m_writeOff = nullptr; // a page of the main window
    std::unique_ptr<TfmDict> m_dictNaim;
    std::unique_ptr<TfmDict> m_dictMesto;
    std::unique_ptr<TfmDict> m_dictTypes;
    std::unique_ptr<TfmEditor_T> m_editorT;
    std::unique_ptr<TfmCard_T> m_cardT;
    std::unique_ptr<TfmWorkTypes> m_workTypes;
    std::unique_ptr<TfmWorkTypes_Editor> m_workTypesEditor;
    std::unique_ptr<TfmHend> m_hend;
    TfmUsers* m_users = nullptr;   // a page of the main window
    TfmReport* m_report = nullptr; // a page of the main window
    TfmOut* m_out = nullptr;       // a page of the main window
    std::unique_ptr<TfmEditor_U> m_editorU;
    std::unique_ptr<TfmCard_U> m_cardU;
    std::unique_ptr<TfmCFG> m_cfg;
    std::unique_ptr<TfmLabels> m_labels;
    std::unique_ptr<TfmImport> m_import;
    bool m_timersEnabled = true;
    bool m_started = false;
};
