#pragma once

#include "ExportTable.h"

#include <QList>
#include <QString>
#include <QVariantList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// A table as one Excel sheet through libxlsxwriter: headings bold in the
// first row, which stays in view when scrolled; amounts as numbers with two
// decimals, dates as date cells shown dd.mm.yyyy, columns as wide as their
// texts (within reason). Rows go to the library's temporary file one by one,
// so the sheet costs little memory whatever its length.
class XlsxTableWriter
{
public:
    // The most rows one sheet holds, headings included.
    static constexpr qint64 kMostRows = 1048576;

    // path: the file to write, which close() fills; the library's own
    // temporary files go into temporaryFolder.
    XlsxTableWriter(const QString& path, const QString& temporaryFolder, const ExportTable& table);
    ~XlsxTableWriter();
    XlsxTableWriter(const XlsxTableWriter&) = delete;
    XlsxTableWriter& operator=(const XlsxTableWriter&) = delete;

    void writeHeadings();
    // False when the sheet holds no more rows.
    bool writeRow(const QVariantList& values);
    // Writes the file. The library's error text, or an empty text when it was written.
    QString close();
    // The system's error number of a failed close, 0 when none was seen.
    int closeErrno() const { return m_closeErrno; }
    // The rows that hold a cell, the headings included: an empty row is not in the file.
    qint64 rowsWithCells() const { return m_rowsWithCells; }

private:
    // False when there was nothing to write.
    bool writeText(int column, const QString& text);
    void widen(int column, qsizetype characters);

    const ExportTable& m_table;
    QByteArray m_path;
    QByteArray m_temporaryFolder;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_heading = nullptr;
    lxw_format* m_money = nullptr;
    lxw_format* m_date = nullptr;
    quint32 m_row = 0;
    qint64 m_rowsWithCells = 0;
    QList<qsizetype> m_widths;
    int m_closeErrno = 0;
    bool m_closed = false;
};
