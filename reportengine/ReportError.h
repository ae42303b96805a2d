#pragma once

#include <QString>
#include <stdexcept>

// A report that cannot be loaded, built or written. The text says what and
// where, in words the windows can show as they stand.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString& text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }

    const QString& text() const { return m_text; }

private:
    QString m_text;
};
