#pragma once

#include <QString>
#include <stdexcept>

// A label that cannot be made, or a layout that cannot be read: its text is
// the message for the user, in the interface language.
class LabelError : public std::runtime_error
{
public:
    explicit LabelError(const QString& text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
