#pragma once

#include "ImportTable.h"

#include <QByteArray>

struct Messages;

// The first worksheet of an XLSX workbook (found through the workbook's
// relationships): shared and inline strings, numbers, booleans and dates
// (numbers whose cell style has a date format), as texts; dates as
// yyyy-MM-dd. The first row that holds anything gives the headings. Throws
// ImportError naming what is broken.
ImportTable readXlsx(const QByteArray& bytes, const Messages& texts);

// A spreadsheet's day number (1900 system, with its 29 February 1900) as an
// ISO date, with the time of day when it has one.
QString spreadsheetDateText(double serial);

// Whether a number format (built-in id, or the code of a custom one) shows
// a date.
bool isDateFormat(int id, const QString& code);
