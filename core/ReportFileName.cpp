#include "ReportFileName.h"

#include <QDir>
#include <QTextBoundaryFinder>

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
    return inReports(programFolder, holderName, when, QStringLiteral(".rtf"));
}

QString inReports(const QString& programFolder, const QString& leading, const QDateTime& when, const QString& extension)
{
    // The name leads the file name: it must not climb out of the folder.
    const QString tail = u' ' + stamp(when);
    QString name = safe(leading + tail);
    name.chop(tail.size()); // the stamp holds nothing safe() changes
    const qsizetype room = kLongestName - (tail + extension).toUtf8().size();
    if (name.toUtf8().size() > room) {
        // Cut where a character ends, a letter with its accents whole.
        QTextBoundaryFinder ends(QTextBoundaryFinder::Grapheme, name);
        qsizetype bytes = 0;
        qsizetype kept = 0;
        for (qsizetype start = 0, end = ends.toNextBoundary(); end > 0; start = end, end = ends.toNextBoundary()) {
            bytes += QStringView(name).mid(start, end - start).toUtf8().size();
            if (bytes > room)
                break;
            kept = end;
        }
        name.truncate(kept);
        while (name.endsWith(u' '))
            name.chop(1);
    }
    return QDir(programFolder).filePath(QStringLiteral("Reports/") + name + tail + extension);
}

} // namespace ReportFileName
