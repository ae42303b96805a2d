#include "StandardIcon.h"

#include <QAbstractButton>
#include <QEvent>

namespace {

class IconOnShow : public QObject
{
public:
    IconOnShow(QAbstractButton* button, QStyle::StandardPixmap icon)
        : QObject(button)
        , m_button(button)
        , m_icon(icon)
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_button && event->type() == QEvent::Show) {
            m_button->removeEventFilter(this);
            m_button->setIcon(m_button->style()->standardIcon(m_icon, nullptr, m_button));
            deleteLater();
        }
        return false;
    }

private:
    QAbstractButton* m_button;
    QStyle::StandardPixmap m_icon;
};

} // namespace

void setStandardIcon(QAbstractButton* button, QStyle::StandardPixmap icon)
{
    if (button->isVisible())
        button->setIcon(button->style()->standardIcon(icon, nullptr, button));
    else
        new IconOnShow(button, icon);
}
