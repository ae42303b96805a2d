#pragma once

#include <QByteArray>
#include <QFile>

// Whether a shared library whose file name holds name is mapped into this
// test program: for libraries the program loads only on first use.
inline bool libraryMapped(const QByteArray& name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}
