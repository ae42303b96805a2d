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
// Reports/<holder's name> <stamp>.rtf in the program folder.
QString onHand(const QString& programFolder, const QString& holderName, const QDateTime& when);

} // namespace ReportFileName
