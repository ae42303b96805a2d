#pragma once

#include <QString>

class QWidget;
struct Platform;

// Opens a file the program has just written in the desktop's program for
// it. Without one (no desktop, no office suite) the user is told where the
// file was written and offered its folder; should the folder not open
// either, the message still names the file. Never used at the desk: it may
// show a modal box.
class WrittenFileOpener
{
public:
    struct Texts {
        QString notOpened;       // %1: the file
        QString openFolder;      // the button
        QString folderNotOpened; // %1: the file
    };

    WrittenFileOpener(Platform& platform, Texts texts);
    // True when a program took the file.
    bool open(QWidget* parent, const QString& file) const;

private:
    Platform& m_platform;
    Texts m_texts;
};
