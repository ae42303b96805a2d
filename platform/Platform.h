#pragma once

class Clock;
class Dialogs;
class Shell;
class Sound;
class WindowManager;

// The program's ties to the outside, handed to the application.
struct Platform {
    Dialogs& dialogs;
    Clock& clock;
    Sound& sound;
    Shell& shell;
    WindowManager& windows;
};
