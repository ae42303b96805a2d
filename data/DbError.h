#pragma once

#include <QString>
#include <stdexcept>

// An error raised by the database layer. Its text is the engine's own message,
// which the windows show as it stands.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }

    const QString& text() const { return m_text; }

private:
    QString m_text;
};
