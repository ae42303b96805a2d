#include "Application.h"

#include "config/TfmCFG.h"
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
    , m_localization(m_forms, {signInTexts(), mainWindowTexts(), settingsTexts()})
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
