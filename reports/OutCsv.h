#pragma once

#include "core/ToolsOut.h"

#include <QByteArray>

// The tools-out list as a CSV file for a spreadsheet or a mail: UTF-8 with
// a byte order mark, ';' between fields (what a Russian spreadsheet
// expects), a title row in the interface language, CRLF line ends.
namespace OutCsv {

QByteArray content(const QList<OutTool>& tools, const QDate& today, bool russian);
// Writes the file whole or not at all. Throws FileWriteError.
void write(const QString& file, const QList<OutTool>& tools, const QDate& today, bool russian);

} // namespace OutCsv
