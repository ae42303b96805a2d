#pragma once

#include <QString>
#include <QStringList>

// Whether the desktop names a program for a file: a desktop entry or a
// mimeapps.list that takes its MIME type, an alias of it or a type it is a
// kind of (an RTF file is also plain text). Without one the desktop's
// launcher starts, fails and says so only on the console.
bool desktopHasProgramFor(const QString& file);
// The same over the given XDG data and configuration folders.
bool desktopHasProgramFor(const QString& file, const QStringList& dataDirs, const QStringList& configDirs);
