#pragma once

#include <QLabel>

// A label that shows a value (a name, a total, a count). Screen readers and
// desktop automation read the value as its accessible name and its caption
// as its description, so every new text is also the new name.
class ValueLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ValueLabel(QWidget* parent = nullptr);
    explicit ValueLabel(const QString& text, QWidget* parent = nullptr);

    // Hides QLabel's own: a value set through this class is always read out.
    void setText(const QString& text);
    void clear() { setText(QString()); }
    // What the value is, read after it; the caption label's text.
    void setCaption(const QString& caption) { setAccessibleDescription(caption); }
};
