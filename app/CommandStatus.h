#pragma once

#include <QString>
#include <stdexcept>

// What every command-line mode ends with, and how its parsing refuses.
namespace command {

constexpr int kDone = 0;
constexpr int kFailed = 1; // nothing half-written
constexpr int kBadArguments = 2;

// A wrong command line: its text is shown with the usage.
class BadArguments : public std::runtime_error
{
public:
    explicit BadArguments(const QString& text)
        : std::runtime_error(text.toStdString())
    {
    }
};

} // namespace command
