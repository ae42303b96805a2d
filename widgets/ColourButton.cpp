#include "ColourButton.h"

ColourButton::ColourButton(QWidget* parent)
    : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    restyle();
}

void ColourButton::setColour(const QColor& colour)
{
    m_colour = colour;
    restyle();
}

void ColourButton::setSunken(bool sunken)
{
    if (m_sunken == sunken)
        return;
    m_sunken = sunken;
    restyle();
}

void ColourButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    emit hovered(true);
}

void ColourButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    emit hovered(false);
}

void ColourButton::restyle()
{
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: white; font-weight: bold;"
                                 " border: 2px %2 %1; padding: 4px; }")
                      .arg(m_colour.name(), m_sunken ? QStringLiteral("inset") : QStringLiteral("outset")));
}
