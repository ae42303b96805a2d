#pragma once

#include <QColor>
#include <QPushButton>

// A coloured panel that works as a button: bold white text on a fill colour
// that the program sets (the style's own colouring is off), with a raised or
// sunken bevel.
class ColourButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    const QColor& colour() const { return m_colour; }
    void setSunken(bool sunken);
    bool isSunken() const { return m_sunken; }

signals:
    void hovered(bool inside);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void restyle();

    QColor m_colour{45, 172, 61};
    bool m_sunken = false;
};
