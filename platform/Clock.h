#pragma once

#include <QDateTime>

// Today and now, for journal rows, file names and report dates.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
