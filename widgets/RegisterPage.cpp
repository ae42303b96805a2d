#include "RegisterPage.h"

#include "DbGrid.h"
#include "ErrorGuard.h"
#include "Named.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

RegisterPage::RegisterPage(Dialogs& dialogs, QWidget* parent)
    : SearchPage(dialogs, parent)
{
}

void RegisterPage::buildRegisterControls()
{
    buildSearchButton(this);
    m_countLabel = named(new QLabel(QStringLiteral("общее количество: 0"), this), "lbRecordCount");
    m_addButton = named(new QPushButton(this), "Button1");
    m_changeButton = named(new QPushButton(this), "Button2");
    m_deleteButton = named(new QPushButton(this), "Button3");
}

QHBoxLayout* RegisterPage::registerBar(QWidget* between)
{
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_codeBox);
    bar->addWidget(m_textBox);
    if (between)
        bar->addWidget(between);
    bar->addWidget(m_searchButton);
    bar->addWidget(m_countLabel);
    bar->addStretch(1);
    bar->addWidget(m_deleteButton);
    bar->addWidget(m_changeButton);
    bar->addWidget(m_addButton);
    return bar;
}

void RegisterPage::connectRegister()
{
    Dialogs& d = m_dialogs;
    guardedConnect(m_addButton, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(m_changeButton, &QPushButton::clicked, this, d, [this] { Button2Click(); });
    guardedConnect(m_deleteButton, &QPushButton::clicked, this, d, [this] { Button3Click(); });
    guardedConnect(m_grid, &DbGrid::rowDoubleClicked, this, d, [this] { DBGrid1DblClick(); });
    guardedConnect(m_grid, &DbGrid::titleClicked, this, d, [this](int column) { DBGrid1TitleClick(column); });
    reportErrorsOf(m_grid, &DbGrid::databaseError, this, d);
}

void RegisterPage::searchOnEnter(QEvent::Type keyEvent, std::function<void()> search)
{
    m_enterSearches = keyEvent;
    m_enterSearch = std::move(search);
    m_codeBox->installEventFilter(this);
    m_textBox->installEventFilter(this);
}

void RegisterPage::allowChanges(bool allowed)
{
    m_changeButton->setEnabled(allowed);
    m_deleteButton->setEnabled(allowed);
}

void RegisterPage::showRecordCount(int count)
{
    m_recordCount = count;
    m_countLabel->setText(recordCountText(count));
}

void RegisterPage::languageChanged()
{
    if (isVisibleTo(window()))
        runGuarded(m_dialogs, this, [this] { ShowTableRecordCount(); });
    else
        m_countLabel->setText(recordCountText(m_recordCount));
}

bool RegisterPage::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_codeBox || watched == m_textBox) && event->type() == m_enterSearches) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(m_dialogs, this, m_enterSearch);
            return true;
        }
    }
    return SearchPage::eventFilter(watched, event);
}
