#include "ReportFileName.h"

#include <QDir>

namespace ReportFileName {

QString stamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("dd.MM.yyyy_hh-mm-ss"));
}

QString safe(const QString& text)
{
    static const QString reserved = QStringLiteral("<>:\"/\\|?*");
    QString name;
    name.reserve(text.size());
    for (const QChar c : text)
        name += (c.unicode() < 0x20 || c.unicode() == 0x7f || reserved.contains(c)) ? QChar(u'_') : c;
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("_") : name;
}

QString inventory(const QString& programFolder, const QDateTime& when)
{
    return QDir(programFolder)
        .filePath(QStringLiteral("Reports/Inventory/Inventory_") + stamp(when) + QStringLiteral(".rtf"));
}

QString onHand(const QString& programFolder, const QString& holderName, const QDateTime& when)
{
    // The name leads the file name: it must not climb out of the folder.
    return QDir(programFolder)
        .filePath(QStringLiteral("Reports/") + safe(holderName + u' ' + stamp(when)) + QStringLiteral(".rtf"));
}

} // namespace ReportFileName
