#pragma once

#include <QString>

// Opens a file with the program the desktop associates with it.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool open(const QString& file) = 0;
};
