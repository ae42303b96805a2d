#pragma once

#include <QString>

// What one label says: the code its symbol carries (also printed under it)
// and a second line (a tool's name or type, a worker's or a place's name).
struct LabelItem {
    QString code;
    QString secondLine;
};
