#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A spreadsheet as read from a file: the first row's headings and the rows
// under it, each with the line (CSV) or row number (XLSX) it began on, so a
// message can point the user to it.
struct ImportTable {
    QStringList headings;
    QList<QStringList> rows;
    QList<int> lines;
};
