#include "ValueLabel.h"

ValueLabel::ValueLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

ValueLabel::ValueLabel(const QString& text, QWidget* parent)
    : ValueLabel(parent)
{
    setText(text);
}

void ValueLabel::setText(const QString& text)
{
    QLabel::setText(text);
    setAccessibleName(text);
}
