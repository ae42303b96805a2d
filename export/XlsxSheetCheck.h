#pragma once

#include <QString>

// Reads a written Excel file back: its first sheet must be whole and hold
// rows rows. libxlsxwriter does not check its writes into its temporary
// files, so a full disk there gives a well-formed file that silently lacks
// rows; this finds it. What is wrong, or an empty text.
QString xlsxSheetCheck(const QString& path, qint64 rows);
