#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Files read back by LibreOffice: converted headless to CSV (';', '"', UTF-8,
// text cells quoted, values as stored rather than as shown), so a number or
// a date cell shows unquoted and a text cell quoted.
namespace office {

struct Cell {
    QString text;
    bool quoted = false; // a text cell
    bool operator==(const Cell&) const = default;
};
using Sheet = QList<QList<Cell>>;

// The CSV LibreOffice writes: fields split by ';', quoted ones may hold
// ';', doubled quotes and line breaks.
Sheet parseCsv(const QByteArray& bytes);

// Converts files in one LibreOffice run, reading CSV inputs as a spreadsheet
// set to Russian opens them (';', '"', UTF-8, language ru-RU); the sheets by
// file name. Fails the test (empty result) when LibreOffice does not run.
QHash<QString, Sheet> readBack(const QStringList& files, bool csvInput);

} // namespace office
