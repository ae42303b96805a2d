#include "DesktopAssociations.h"

#include <QDirIterator>
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>

namespace {

QSet<QString> typesOf(const QString& file)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    QSet<QString> names{type.name()};
    for (const QStringList& more : {type.aliases(), type.allAncestors()}) {
        for (const QString& name : more)
            names.insert(name);
    }
    return names;
}

// A "type=a.desktop;b.desktop" line, or a desktop entry's MimeType line
// ("MimeType=text/rtf;application/rtf;"), naming one of the types.
bool namesType(const QString& line, const QSet<QString>& types, bool desktopEntry)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    const QString key = line.left(eq).trimmed();
    const QString value = line.mid(eq + 1).trimmed();
    if (desktopEntry) {
        if (key != u"MimeType")
            return false;
        for (const QString& type : value.split(u';', Qt::SkipEmptyParts)) {
            if (types.contains(type.trimmed()))
                return true;
        }
        return false;
    }
    return types.contains(key) && !value.isEmpty();
}

bool fileNames(const QString& path, const QSet<QString>& types, bool desktopEntry)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool counted = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            // Removed associations take nothing; a desktop entry's actions are not its programs.
            counted = desktopEntry ? line == u"[Desktop Entry]" : line != u"[Removed Associations]";
            continue;
        }
        if (counted && namesType(line, types, desktopEntry))
            return true;
    }
    return false;
}

} // namespace

bool desktopHasProgramFor(const QString& file)
{
    return desktopHasProgramFor(file, QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation),
                                QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation));
}

bool desktopHasProgramFor(const QString& file, const QStringList& dataDirs, const QStringList& configDirs)
{
    const QSet<QString> types = typesOf(file);
    for (const QString& dir : configDirs) {
        if (fileNames(dir + QStringLiteral("/mimeapps.list"), types, false))
            return true;
    }
    for (const QString& dir : dataDirs) {
        const QString applications = dir + QStringLiteral("/applications");
        if (fileNames(applications + QStringLiteral("/mimeapps.list"), types, false))
            return true;
        QDirIterator entries(applications, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            if (fileNames(entries.next(), types, true))
                return true;
        }
    }
    return false;
}
