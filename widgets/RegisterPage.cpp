#include "RegisterPage.h"

#include "DbGrid.h"
#include "ErrorGuard.h"
#include "Named.h"
#include "ValueLabel.h"
#include "data/Query.h"
#include "platform/Platform.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

RegisterPage::RegisterPage(Platform& platform, const char* table, QWidget* parent)
    : SearchPage(platform, parent)
    , m_table(table)
{
}

void RegisterPage::buildRegisterControls()
{
    buildSearchButton(this);
    m_countLabel = named(new ValueLabel(QStringLiteral("общее количество: 0"), this), "lbRecordCount");
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
    Dialogs& d = m_platform.dialogs;
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

int RegisterPage::GetTableRecordCount(const QString& ATable)
{
    // A table name is never taken from outside.
    if (ATable.compare(QLatin1String(m_table), Qt::CaseInsensitive) != 0)
        return 0;
    return countMatches();
}

void RegisterPage::ShowTableRecordCount()
{
    m_recordCount = GetTableRecordCount(QLatin1String(m_table));
    m_countedCode = m_codeBox->text();
    m_countStale = false;
    m_countLabel->setText(recordCountText(m_recordCount));
}

void RegisterPage::showRecordCountIfChanged()
{
    if (m_countStale || m_codeBox->text() != m_countedCode)
        ShowTableRecordCount();
}

void RegisterPage::languageChanged()
{
    if (isVisibleTo(window()))
        runGuarded(m_platform.dialogs, this, [this] { ShowTableRecordCount(); });
    else
        m_countLabel->setText(recordCountText(m_recordCount));
}

bool RegisterPage::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_codeBox || watched == m_textBox) && event->type() == m_enterSearches) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(m_platform.dialogs, this, m_enterSearch);
            return true;
        }
    }
    return SearchPage::eventFilter(watched, event);
}

QList<Localization::Text> RegisterPage::rowButtonTexts(const char* window)
{
    const char* const captions[][3] = {
        {"Button1", "Добавить", "New"}, {"Button2", "Изменить", "Edit"}, {"Button3", "Удалить", "Delete"}};
    QList<Localization::Text> rows;
    for (const auto& c : captions)
        rows.append({window, c[0], Localization::Property::Caption, 0, c[1], c[2]});
    return rows;
}

QStringList RegisterPage::listedTexts(Query& list, const QString& field)
{
    if (!list.isOpen())
        return {};
    while (list.canFetchMore())
        list.fetchMore();
    const int column = list.fieldIndex(field);
    QStringList texts;
    for (int row = 0; column >= 0 && row < list.fetchedCount(); ++row) {
        const QString text = list.value(row, column).toString().trimmed();
        if (!text.isEmpty())
            texts << text;
    }
    return texts;
}
