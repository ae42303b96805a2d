#pragma once

#include <QString>

#include <optional>

// One tool of a write-off act, as the act's table lists it.
struct ActTool {
    QString name;                // Tools.Naim
    std::optional<double> price; // Tools.Price; empty when not set
    QString inventory;           // Tools.Inv
};
