#include "DesktopWindows.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

QList<quint64> windowsToMinimise(const QList<DesktopWindow>& windows, const QSet<quint64>& own)
{
    QList<quint64> result;
    for (const DesktopWindow& w : windows) {
        if (!own.contains(w.id) && w.viewable && !w.owned && !w.title.trimmed().isEmpty())
            result << w.id;
    }
    return result;
}

namespace {

QString titleOf(Display* display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &remaining, &data)
            == Success
        && data) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
        XFree(data);
    }
    if (title.isEmpty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = QString::fromLocal8Bit(name);
            XFree(name);
        }
    }
    return title;
}

QList<DesktopWindow> clientList(Display* display)
{
    QList<DesktopWindow> windows;
    const Window root = DefaultRootWindow(display);
    const Atom clients = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, root, clients, 0, 65536, False, XA_WINDOW, &type, &format, &count, &remaining,
                           &data)
            != Success
        || !data)
        return windows;
    const auto* ids = reinterpret_cast<const Window*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        DesktopWindow w;
        w.id = ids[i];
        XWindowAttributes attributes;
        w.viewable = XGetWindowAttributes(display, ids[i], &attributes) && attributes.map_state == IsViewable;
        Window owner = 0;
        w.owned = XGetTransientForHint(display, ids[i], &owner) && owner != 0;
        w.title = titleOf(display, ids[i]);
        windows << w;
    }
    XFree(data);
    return windows;
}

} // namespace

void minimiseOtherDesktopWindows(const QSet<quint64>& own)
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return; // not an X11 desktop
    const int screen = DefaultScreen(display);
    for (const quint64 id : windowsToMinimise(clientList(display), own))
        XIconifyWindow(display, static_cast<Window>(id), screen);
    XFlush(display);
}
