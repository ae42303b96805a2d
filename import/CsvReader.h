#pragma once

#include "ImportTable.h"

#include <QByteArray>

struct Messages;

// A CSV file as spreadsheets save it: UTF-8 with or without a byte order
// mark, or else CP1251; ';', ',' or Tab between fields, whichever the
// heading line holds most of outside quotes; fields in double quotes may hold
// separators, doubled quotes and line breaks (RFC 4180). Rows that hold
// nothing are left out. Throws ImportError for a quote never closed.
ImportTable readCsv(const QByteArray& bytes, const Messages& texts);

// The text of bytes: UTF-8 when they have the mark or are valid UTF-8,
// otherwise CP1251 (the Russian Windows code page).
QString decodeSpreadsheetText(const QByteArray& bytes);

// The separator the heading line uses most: ';', ',' or '\t'.
QChar detectSeparator(const QString& text);
