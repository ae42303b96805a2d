#pragma once

#include <QList>
#include <QSet>
#include <QString>

// A top-level window of the desktop as the window manager lists it.
struct DesktopWindow {
    quint64 id = 0;
    bool viewable = false;
    bool owned = false; // a dialog or other window that belongs to another
    QString title;
};

// The windows to minimise so the desk comes to the front: every other
// program's visible main window that has a title. Owned windows go with
// their owners; the program's own windows stay.
QList<quint64> windowsToMinimise(const QList<DesktopWindow>& windows, const QSet<quint64>& own);

// Minimises the other programs' windows on an X11 desktop (the EWMH client
// list); does nothing on other platforms.
void minimiseOtherDesktopWindows(const QSet<quint64>& own);
