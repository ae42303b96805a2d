#pragma once

#include <QDate>
#include <QObject>

class QDateEdit;

// Tells when the user picks a day in a date edit's calendar popup, also the
// day it already shows (a choice that changes no date). Leaving the picker
// is no choice. The popup is costly to build, so it is built and hooked only
// when the user first presses a key or the mouse in the picker.
class DayChoice : public QObject
{
    Q_OBJECT
public:
    explicit DayChoice(QDateEdit* picker);

signals:
    void chosen(QDate day);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hookCalendar();

    QDateEdit* m_picker;
    bool m_hooked = false;
};
