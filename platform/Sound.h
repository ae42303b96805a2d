#pragma once

#include <QString>

// Plays a sound file without waiting; the default beep when it cannot.
class Sound
{
public:
    virtual ~Sound() = default;
    virtual void play(const QString& file) = 0;
    // The short warning sound: something the storekeeper must look at.
    virtual void beep() = 0;
};
