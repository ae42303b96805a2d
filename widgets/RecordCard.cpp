#include "RecordCard.h"

#include "DbImage.h"
#include "DbText.h"
#include "ErrorGuard.h"
#include "Named.h"
#include "data/Columns.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

RecordCard::RecordCard(Platform& platform, Connection& db, const char* name, QSize size, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , q(db)
    , m_platform(platform)
{
    setObjectName(QLatin1String(name));
    setModal(true);
    resize(size);
}

void RecordCard::buildPhoto(Query& record, QSize size)
{
    m_photo = named(new DbImage(record, col::Photo, size, this), "DBImage1");
}

QGridLayout* RecordCard::buildValues(Query& record, const QList<Shown>& shown)
{
    for (qsizetype i = 0; i < shown.size(); ++i) {
        m_captions << nullptr;
        m_values << nullptr;
    }
    auto* fields = new QGridLayout;
    int row = 0;
    for (const Shown& s : shown) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("Label%1").arg(s.label));
        auto* value = new DbText(record, s.field, this);
        value->setObjectName(QStringLiteral("DBText%1").arg(s.label));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        fields->addWidget(caption, row, 0);
        fields->addWidget(value, row, 1);
        ++row;
        m_captions[s.label - 1] = caption;
        m_values[s.label - 1] = value;
    }
    fields->setColumnStretch(1, 1);
    return fields;
}

void RecordCard::buildPages()
{
    m_pages = named(new QTabWidget(this), "PageControl1");
    m_firstPage = named(new QWidget, "TabSheet1");
    m_secondPage = named(new QWidget, "TabSheet2");
    m_pages->addTab(m_firstPage, QString());
    m_pages->addTab(m_secondPage, QString());
}

void RecordCard::showLoaded(const std::function<void()>& load)
{
    if (runGuarded(m_platform.dialogs, this, load))
        m_platform.dialogs.showModal(*this);
}

QPushButton* RecordCard::button(QWidget* parent, const char* name)
{
    auto* b = named(new QPushButton(parent), name);
    b->setAutoDefault(false);
    return b;
}

void RecordCard::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_pages->setTabText(0, m_firstPage->windowTitle());
    m_pages->setTabText(1, m_secondPage->windowTitle());
    for (qsizetype i = 0; i < m_captions.size(); ++i)
        m_values[i]->setCaption(m_captions[i]->text());
    languageChanged();
}
