#pragma once

#include "ExportTable.h"

#include <QByteArray>
#include <QVariantList>

class QIODevice;

// A table as CSV the way spreadsheets here open it: UTF-8 with a byte
// order mark, fields separated by ';', lines ended by CR LF, a field that
// holds ';', '"' or a line break quoted with its quotes doubled. Numbers
// and amounts are plain, with a decimal comma ("1234,5"), and dates
// dd.mm.yyyy, whatever the interface language: the conventions that go
// with ';', which a spreadsheet set to Russian reads as numbers and dates.
class CsvTableWriter
{
public:
    CsvTableWriter(QIODevice& device, const ExportTable& table);

    void writeHeadings();
    void writeRow(const QVariantList& values);
    // Writes what is buffered. False when a write failed.
    bool flush();
    bool failed() const { return m_failed; }

    // A value as its field's text, unquoted; yes and no in the headings'
    // language, a line break a line feed.
    static QString fieldText(const QVariant& value, ExportKind kind, bool russian);

private:
    void append(const QString& field);
    void endLine();

    QIODevice& m_device;
    const ExportTable& m_table;
    QByteArray m_buffer;
    bool m_lineStarted = false;
    bool m_failed = false;
};
