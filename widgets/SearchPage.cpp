#include "SearchPage.h"

#include "DbGrid.h"
#include "ErrorGuard.h"
#include "Named.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

SearchPage::SearchPage(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
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
    guardedConnect(m_searchButton, &QPushButton::clicked, this, m_dialogs, [this] { btSearchClick(); });
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
