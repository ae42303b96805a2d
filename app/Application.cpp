#include "Application.h"
#include "PlaceLabelPrefixNotice.h"

#include "config/TfmCFG.h"
#include "config/TfmSettings.h"
#include "core/Settings.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Schema.h"
#include "desk/TfmHend.h"
#include "desk/TfmMain.h"
#include "importpage/TfmImport.h"
#include "outpage/TfmOut.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "recipients/TfmCard_U.h"
#include "recipients/TfmEditor_U.h"
#include "recipients/TfmUsers.h"
#include "reportpage/TfmLabels.h"
#include "reportpage/TfmReport.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmDict.h"
#include "tools/TfmEditor_T.h"
#include "tools/TfmTools.h"
#include "tools/TfmWorkTypes.h"
#include "tools/TfmWorkTypes_Editor.h"
#include "widgets/ErrorGuard.h"
#include "writeoff/TfmWriteOff.h"

#include <QGuiApplication>
#include <QScreen>

Application::Application(const QString& programFolder, Platform& platform)
    : Application(ProgramPaths(programFolder), platform)
{
}

Application::Application(const ProgramPaths& paths, Platform& platform)
    : m_platform(platform)
    , m_session(paths)
    , m_localization({signInTexts(), mainWindowTexts(), toolListTexts(), settingsTexts(), toolCardTexts(),
                      toolEditorTexts(), manualIssueTexts(), dictionaryTexts(), recipientListTexts(),
                      recipientEditorTexts(), recipientCardTexts(), workTypesTexts(), workTypeEditorTexts(),
                      writeOffTexts(), historyReportTexts(), labelsTexts(), importTexts(), toolsOutTexts()})
{
    // Qt's texts and the number convention first: the windows' own texts
    // then show amounts in the new convention.
    m_qtLanguage.apply(m_session.russian());
    connect(&m_session, &Session::languageChanged, this, [this] {
        m_qtLanguage.apply(m_session.russian());
        m_localization.apply(m_session.russian());
    });
}

Application::~Application()
{
    if (m_started)
        m_session.settings().saveTimeouts(); // the three time-outs are written at program end
    m_cfg.reset();
    m_import.reset();
    m_labels.reset();
    m_hend.reset();
    m_cardU.reset();
    m_editorU.reset();
    m_cardT.reset();
    m_workTypesEditor.reset();
    m_workTypes.reset();
    m_editorT.reset();
    m_dictTypes.reset();
    m_dictMesto.reset();
    m_dictNaim.reset();
    m_main.reset(); // with its pages
}

template<typename Window>
Window* Application::adopt(std::unique_ptr<Window>& owner, std::unique_ptr<Window> window)
{
    owner = std::move(window);
    m_localization.addWindow(owner.get());
    return owner.get();
}

QWidget* Application::window(const QString& name) const
{
    for (QWidget* w : windows()) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

bool Application::start()
{
    Dialogs& dialogs = m_platform.dialogs;
    bool created = false;
    // A failure in any creation step is shown and ends the start.
    const bool ran = runGuarded(dialogs, nullptr, [&] {
        adopt(m_main, std::make_unique<TfmMain>(m_session, *this, m_platform));
        m_main->setTimersEnabled(m_timersEnabled);
        if (!m_main->FormCreate())
            return;
        createRecipientWindows();
        createToolWindows();
        m_report = new TfmReport(m_session, m_platform);
        m_localization.addWindow(m_report);
        m_main->addPage(m_report, "SpeedButton3");
        m_report->FormCreate();
        m_out = new TfmOut(m_session, *this, m_platform);
        m_localization.addWindow(m_out);
        m_main->addPage(m_out, "btToolsOut");
        m_hend = std::make_unique<TfmHend>(m_session, m_platform);
        m_localization.addWindow(m_hend.get());
        m_hend->FormCreate();

        m_settings = new TfmSettings(m_session, m_platform);
        m_localization.addWindow(m_settings);
        m_settings->FormCreate();
        m_main->addPage(m_settings, "btSettings");

        m_writeOff = new TfmWriteOff(m_session, *this, m_platform);
        m_localization.addWindow(m_writeOff);
        m_writeOff->FormCreate();
        m_main->addPage(m_writeOff, "btWriteOff");
        m_started = true;

        // Last: the sign-in window; closing it without a role ends the program.
        adopt(m_cfg, std::make_unique<TfmCFG>(m_session, m_platform));
        m_cfg->FormCreate();
        created = m_cfg->GoOperator;
    });
    if (ran && created) {
        // Before the desk takes codes; a failure here is told and the start goes on.
        runGuarded(dialogs, nullptr, [&] { noticePlaceLabelPrefixInUse(m_session, dialogs, nullptr); });
    }
    return ran && created;
}

void Application::createToolWindows()
{
    m_tools = new TfmTools(m_session, *this, m_platform);
    m_localization.addWindow(m_tools);
    m_main->addPage(m_tools, "SpeedButton4");
    createDictionaries();
    adopt(m_editorT, std::make_unique<TfmEditor_T>(m_session, *this, m_platform))->FormCreate();
    adopt(m_cardT, std::make_unique<TfmCard_T>(m_session, *this, m_platform));
    adopt(m_workTypes, std::make_unique<TfmWorkTypes>(m_session, *this, m_platform))->FormCreate();
    adopt(m_workTypesEditor, std::make_unique<TfmWorkTypes_Editor>(m_session, *this, m_platform));
    m_workTypesEditor->setAnchor(m_main.get());
}

void Application::createRecipientWindows()
{
    m_users = new TfmUsers(m_session, *this, m_platform);
    m_localization.addWindow(m_users);
    m_main->addPage(m_users, "SpeedButton5");
    adopt(m_editorU, std::make_unique<TfmEditor_U>(m_session, m_platform));
    adopt(m_cardU, std::make_unique<TfmCard_U>(m_session, *this, m_platform));
    adopt(m_labels, std::make_unique<TfmLabels>(m_session, m_platform));
    adopt(m_import, std::make_unique<TfmImport>(m_session, *this, m_platform));
}

void Application::createDictionaries()
{
    using Kind = DictionaryKind;
    std::unique_ptr<TfmDict>* owners[] = {&m_dictNaim, &m_dictMesto, &m_dictTypes};
    const Kind kinds[] = {Kind::Naim, Kind::Mesto, Kind::Types};
    for (int i = 0; i < 3; ++i) {
        TfmDict* dict = adopt(*owners[i], std::make_unique<TfmDict>(kinds[i], m_session, *this, m_platform));
        dict->setAnchor(m_main.get());
        dict->FormCreate();
    }
}

void Application::show()
{
    m_main->show();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_main->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_main->move(frame.topLeft());
    }
}

void Application::showToolList()
{
    m_main->showPage(m_tools);
}

void Application::openToolCard()
{
    m_cardT->execute();
}

bool Application::openToolCardOf(qint64 toolKey)
{
    Connection& db = m_session.connection();
    if (!db.exists(Select(col::Tools::Table).whereEquals(col::Key, toolKey)))
        return false; // deleted at another desk since the list was read
    Query& tools = m_session.qTools;
    if (!tools.locate(col::Key, toolKey)) {
        // Left out by the list's search: the whole register, which the list
        // searches anew when it is next shown.
        tools.close();
        tools.setStatement(Schema::toolsDesign(db.dialect()));
        tools.open();
        if (!tools.locate(col::Key, toolKey))
            return false;
    }
    QWidget* from = m_main->currentPage();
    m_cardT->execute();
    if (from)
        m_main->showPage(from);
    return true;
}

void Application::openToolEditor()
{
    m_editorT->execute();
}

void Application::openManualIssue(const QString& toolCode)
{
    m_hend->execute(toolCode);
}

void Application::showRecipientList()
{
    m_main->showPage(m_users);
}

void Application::openRecipientCard()
{
    m_cardU->execute();
}

void Application::openRecipientEditor()
{
    m_editorU->execute();
}

void Application::openDictionary(DictionaryKind kind)
{
    TfmDict* dict = kind == DictionaryKind::Naim ? m_dictNaim.get()
        : kind == DictionaryKind::Mesto          ? m_dictMesto.get()
                                                 : m_dictTypes.get();
    m_platform.dialogs.showModal(*dict);
}

void Application::openLabels(LabelKind kind, const QString& chosen, const std::function<QStringList()>& listed)
{
    m_labels->execute(kind, chosen, listed);
}

void Application::openImport(ImportKind kind)
{
    m_import->execute(kind);
}

void Application::openWorkTypes()
{
    m_workTypes->show();
    m_workTypes->raise();
    m_workTypes->activateWindow();
}

void Application::openWorkTypeEditor()
{
    m_workTypesEditor->execute();
}
