#include "QtLanguage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>

QtLanguage::~QtLanguage()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

void QtLanguage::apply(bool russian)
{
    QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia)
                                : QLocale(QLocale::English, QLocale::UnitedStates));
    // Windows built before the switch keep the locale they were built with
    // (date pickers, their calendars) until told, as on a system change.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QEvent changed(QEvent::LocaleChange);
        QCoreApplication::sendEvent(app, &changed);
    }
    if (russian && !m_installed) {
        if (m_translator.isEmpty())
            m_found = m_translator.load(QStringLiteral("qtbase_ru"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (m_found)
            m_installed = QCoreApplication::installTranslator(&m_translator);
    } else if (!russian && m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
}
