#include "CsvTableWriter.h"

#include "CellValue.h"
#include "data/MoneyText.h"

#include <QIODevice>

namespace {

// Written in pieces of about this size: the device below has no buffer.
constexpr qsizetype kChunk = 256 * 1024;

} // namespace

CsvTableWriter::CsvTableWriter(QIODevice& device, const ExportTable& table)
    : m_device(device)
    , m_table(table)
{
    m_buffer.reserve(kChunk + 4096);
    m_buffer.append("\xEF\xBB\xBF");
}

QString CsvTableWriter::fieldText(const QVariant& value, ExportKind kind, bool russian)
{
    switch (kind) {
    case ExportKind::Number:
    case ExportKind::Money:
        if (const std::optional<double> number = cellNumber(value))
            return plainAmountText(*number, true);
        break;
    case ExportKind::Date:
        if (const QDate day = cellDate(value); day.isValid())
            return day.toString(QStringLiteral("dd.MM.yyyy"));
        break;
    case ExportKind::Bool:
        if (!value.isNull() && !value.toString().isEmpty()) {
            const bool yes = value.toString() != u"0" && value.toString().compare(u"false", Qt::CaseInsensitive) != 0;
            if (russian)
                return yes ? QStringLiteral("Да") : QStringLiteral("Нет");
            return yes ? QStringLiteral("Yes") : QStringLiteral("No");
        }
        break;
    case ExportKind::Text:
        break;
    }
    QString text = value.isNull() ? QString() : value.toString();
    // A line break inside a cell is a line feed, as spreadsheets keep it.
    if (text.contains(u'\r'))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text;
}

void CsvTableWriter::append(const QString& field)
{
    if (m_lineStarted)
        m_buffer.append(';');
    m_lineStarted = true;
    static const QString special = QStringLiteral(";\"\r\n");
    bool quote = false;
    for (const QChar c : field)
        quote = quote || special.contains(c);
    if (!quote) {
        m_buffer.append(field.toUtf8());
        return;
    }
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    m_buffer.append('"').append(quoted.toUtf8()).append('"');
}

void CsvTableWriter::endLine()
{
    m_buffer.append("\r\n");
    m_lineStarted = false;
    if (m_buffer.size() >= kChunk)
        flush();
}

void CsvTableWriter::writeHeadings()
{
    for (const ExportColumn& c : m_table.columns)
        append(c.heading);
    endLine();
}

void CsvTableWriter::writeRow(const QVariantList& values)
{
    for (int i = 0; i < m_table.columns.size(); ++i)
        append(fieldText(values.value(i), m_table.columns.at(i).kind, m_table.russian));
    endLine();
}

bool CsvTableWriter::flush()
{
    if (!m_failed && !m_buffer.isEmpty())
        m_failed = m_device.write(m_buffer) != m_buffer.size();
    m_buffer.clear();
    return !m_failed;
}
