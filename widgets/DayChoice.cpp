#include "DayChoice.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>

DayChoice::DayChoice(QDateEdit* picker)
    : QObject(picker)
    , m_picker(picker)
{
    picker->installEventFilter(this);
}

bool DayChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picker && !m_hooked
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        hookCalendar();
    return QObject::eventFilter(watched, event);
}

void DayChoice::hookCalendar()
{
    m_hooked = true;
    m_picker->removeEventFilter(this);
    QCalendarWidget* calendar = m_picker->calendarWidget();
    const auto pick = [this](QDate day) {
        m_picker->setDate(day);
        emit chosen(day);
    };
    connect(calendar, &QCalendarWidget::clicked, this, pick);
    connect(calendar, &QCalendarWidget::activated, this, pick);
}
