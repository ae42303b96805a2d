#pragma once

#include <QDateTime>
#include <QString>

// Names of the report files the program writes under its Reports folder.
namespace ReportFileName {

// "09.12.2021_14-05-07": the moment a report file was made.
QString stamp(const QDateTime& when);
// The text with every character a file name cannot hold (path separators,
// Windows' reserved characters, control characters) replaced by '_', and no
// trailing dots or blanks; "_" for an empty text.
QString safe(const QString& text);
// Reports/Inventory/Inventory_<stamp>.rtf in the program folder.
QString inventory(const QString& programFolder, const QDateTime& when);
// Reports/<holder's name> <stamp>.rtf in the program folder. A name too
// long for a file name is cut at a character's end so that the whole name,
// stamp and extension kept, fits with room for the temporary file it is
// first written as.
QString onHand(const QString& programFolder, const QString& holderName, const QDateTime& when);
// Reports/<name> <stamp><extension> in the program folder, the name made
// safe and cut as for onHand; extension with its dot (".pdf").
QString inReports(const QString& programFolder, const QString& name, const QDateTime& when, const QString& extension);
// The longest file name onHand makes, in bytes of the file system's
// encoding (UTF-8): the file systems' 255 less the room for the temporary
// file's suffix.
inline constexpr int kLongestName = 255 - 32;

} // namespace ReportFileName
