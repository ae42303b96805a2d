#include "SearchPage.h"

#include "DbGrid.h"
#include "ErrorGuard.h"
#include "Named.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

SearchPage::SearchPage(Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_platform(platform)
{
}

void SearchPage::buildSearchBoxes(QWidget* parent)
{
    m_codeBox = named(new QLineEdit(parent), "Edit1");
    m_textBox = named(new QLineEdit(parent), "Edit2");
}

void SearchPage::buildSearchButton(QWidget* parent)
{
    m_searchButton = named(new QPushButton(parent), "btSearch");
    guardedConnect(m_searchButton, &QPushButton::clicked, this, m_platform.dialogs, [this] { btSearchClick(); });
}

void SearchPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_codeBox->setAccessibleName(m_codeBox->placeholderText());
    m_textBox->setAccessibleName(m_textBox->placeholderText());
    m_grid->setAccessibleName(windowTitle());
    languageChanged();
}

QList<Localization::Text> SearchPage::searchTexts(const char* window, const char* codeRu, const char* codeEn,
                                                  const char* textRu, const char* textEn)
{
    using P = Localization::Property;
    return {{window, "Edit1", P::Hint, 0, codeRu, codeEn},
            {window, "Edit2", P::Hint, 0, textRu, textEn},
            {window, "btSearch", P::Caption, 0, "Поиск", "Search"}};
}
