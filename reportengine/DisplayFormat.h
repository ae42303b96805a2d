#pragma once

#include <QString>

// How a memo shows a field's value: as the grids show it, or as a date or
// time in a format of its own ("hh:mm:ss", "dd.MM.yyyy").
struct DisplayFormat {
    enum class Kind { Text, DateTime };

    Kind kind = Kind::Text;
    QString formatStr;

    bool operator==(const DisplayFormat&) const = default;
};
