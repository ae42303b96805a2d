#include "Application.h"

#include "config/TfmCFG.h"
#include "desk/TfmHend.h"
#include "tools/TfmCard_T.h"
#include "tools/TfmDict.h"
#include "tools/TfmEditor_T.h"
#include "tools/TfmTools.h"
#include "config/TfmSettings.h"
#include "desk/TfmMain.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>

Application::Application(const QString& programFolder, Platform& platform)
    : m_folder(programFolder.endsWith(u'/') ? programFolder : programFolder + u'/')
    , m_platform(platform)
    , m_localization(m_forms,
                     {signInTexts(), mainWindowTexts(), toolListTexts(), settingsTexts(), toolCardTexts(),
                      toolEditorTexts(), manualIssueTexts(), dictionaryTexts()})
{
    m_forms.texts = &m_texts;
    m_forms.localization = &m_localization;
}

Application::~Application()
{
    if (m_started && m_forms.settings)
        m_forms.settings->FormDestroy(); // the three time-outs are written at program end
    m_forms.windows.clear();
    m_forms.cfg = nullptr;
    m_cfg.reset();
    m_forms.hend = nullptr;
    m_forms.cardT = nullptr;
    m_forms.editorT = nullptr;
    m_forms.dictNaim = m_forms.dictMesto = m_forms.dictTypes = nullptr;
    m_hend.reset();
    m_cardT.reset();
    m_editorT.reset();
    m_dictTypes.reset();
    m_dictMesto.reset();
    m_dictNaim.reset();
    m_forms.tools = nullptr;
    m_forms.settings = nullptr;
    m_forms.main = nullptr;
    m_main.reset();
}

bool Application::start()
{
    m_main = std::make_unique<TfmMain>(m_forms, m_platform, m_folder);
    m_main->setTimersEnabled(m_timersEnabled);
    m_forms.main = m_main.get();
    m_forms.windows << m_main.get();
    if (!m_main->FormCreate())
        return false;

    // The other windows, in the fixed start order.
    auto* tools = new TfmTools(m_forms, m_platform);
    m_forms.tools = tools;
    m_forms.windows << tools;
    m_main->addPage(tools, m_main->SpeedButton4);
    tools->FormCreate();

    m_dictNaim = std::make_unique<TfmDict>(TfmDict::Kind::Naim, m_forms, m_platform);
    m_dictMesto = std::make_unique<TfmDict>(TfmDict::Kind::Mesto, m_forms, m_platform);
    m_dictTypes = std::make_unique<TfmDict>(TfmDict::Kind::Types, m_forms, m_platform);
    m_forms.dictNaim = m_dictNaim.get();
    m_forms.dictMesto = m_dictMesto.get();
    m_forms.dictTypes = m_dictTypes.get();
    for (TfmDict* dict : {m_forms.dictNaim, m_forms.dictMesto, m_forms.dictTypes}) {
        m_forms.windows << dict;
        dict->FormCreate();
    }

    m_editorT = std::make_unique<TfmEditor_T>(m_forms, m_platform);
    m_forms.editorT = m_editorT.get();
    m_forms.windows << m_editorT.get();
    m_editorT->FormCreate();

    m_cardT = std::make_unique<TfmCard_T>(m_forms, m_platform);
    m_forms.cardT = m_cardT.get();
    m_forms.windows << m_cardT.get();
    m_cardT->FormCreate();

    m_hend = std::make_unique<TfmHend>(m_forms, m_platform);
    m_forms.hend = m_hend.get();
    m_forms.windows << m_hend.get();
    m_hend->FormCreate();

    auto* settings = new TfmSettings(m_forms, m_platform.dialogs, m_folder);
    m_forms.settings = settings;
    m_forms.windows << settings;
    settings->FormCreate();
    m_main->addPage(settings, m_main->btSettings);
    m_started = true;

    // Last: the sign-in window; closing it without a role ends the program.
    m_cfg = std::make_unique<TfmCFG>(m_forms, m_platform);
    m_forms.cfg = m_cfg.get();
    m_forms.languageBox = m_cfg->cbLeng;
    m_forms.windows << m_cfg.get();
    m_cfg->FormCreate();
    return m_cfg->GoOperator;
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
