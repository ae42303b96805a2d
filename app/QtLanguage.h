#pragma once

#include <QTranslator>

// Qt's own texts (dialog buttons, the file dialog, the input dialog) and the
// convention numbers are written and read in follow the interface language:
// Qt's Russian catalogue is installed for Russian and removed for English,
// and the default locale is switched with it.
class QtLanguage
{
public:
    QtLanguage() = default;
    ~QtLanguage();
    QtLanguage(const QtLanguage&) = delete;
    QtLanguage& operator=(const QtLanguage&) = delete;

    void apply(bool russian);
    // False when Qt's Russian catalogue is missing (Debian's qt6-translations-l10n).
    bool russianCatalogueFound() const { return m_found; }

private:
    QTranslator m_translator;
    bool m_installed = false;
    bool m_found = true;
};
