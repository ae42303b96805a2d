#pragma once

#include <QLatin1String>

// A new control with its object name, which tests and automation find it by.
template<typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
