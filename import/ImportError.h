#pragma once

#include <QString>

// A file that cannot be imported, with the message for the user in the
// interface language.
class ImportError
{
public:
    explicit ImportError(QString text)
        : m_text(std::move(text))
    {
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
