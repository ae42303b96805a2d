#include "CsvReader.h"

#include "ImportError.h"
#include "core/Messages.h"

#include <QStringDecoder>

namespace {

// CP1251's upper half; ASCII maps to itself.
const char16_t kCp1251[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

QString fromCp1251(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            text += QChar(b);
        else if (b < 0xC0)
            text += QChar(kCp1251[b - 0x80]);
        else
            text += QChar(char16_t(0x0410 + (b - 0xC0))); // А..я in order
    }
    return text;
}

bool isBlankRow(const QStringList& row)
{
    for (const QString& cell : row) {
        if (!cell.trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace

QString decodeSpreadsheetText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1251(bytes);
}

QChar detectSeparator(const QString& text)
{
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return u'\t';
    if (commas > semicolons)
        return u',';
    return u';';
}

ImportTable readCsv(const QByteArray& bytes, const Messages& texts)
{
    const QString text = decodeSpreadsheetText(bytes);
    const QChar separator = detectSeparator(text);
    ImportTable table;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    int rowLine = 1;
    int quoteLine = 1;
    bool headingDone = false;
    auto endRow = [&] {
        row << (wasQuoted ? cell : cell.trimmed());
        if (!headingDone) {
            table.headings = row;
            headingDone = true;
        } else if (!isBlankRow(row)) {
            table.rows << row;
            table.lines << rowLine;
        }
        row.clear();
        cell.clear();
        wasQuoted = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                else if (c == u'\r' && !(i + 1 < n && text.at(i + 1) == u'\n'))
                    ++line;
                cell += c;
            }
        } else if (c == u'"' && cell.trimmed().isEmpty()) {
            // A quote opens a field only at its start; elsewhere it is a character.
            quoted = true;
            wasQuoted = true;
            quoteLine = line;
            cell.clear();
        } else if (c == separator) {
            row << (wasQuoted ? cell : cell.trimmed());
            cell.clear();
            wasQuoted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRow();
            ++line;
            rowLine = line;
        } else if (!wasQuoted) {
            cell += c;
        }
    }
    if (quoted)
        throw ImportError(texts.rsImportUnclosedQuote.arg(quoteLine));
    if (!cell.isEmpty() || !row.isEmpty() || wasQuoted)
        endRow();
    if (!headingDone || isBlankRow(table.headings))
        throw ImportError(texts.rsImportNoHeadings);
    return table;
}
