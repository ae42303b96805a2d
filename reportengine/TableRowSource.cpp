#include "TableRowSource.h"

#include "ReportError.h"

TableRowSource::TableRowSource(const QStringList& fields, const QList<FieldKind>& kinds)
    : m_fields(fields)
    , m_kinds(kinds)
{
    while (m_kinds.size() < m_fields.size())
        m_kinds << FieldKind::Text;
}

void TableRowSource::addRow(const QVariantList& values)
{
    if (values.size() != m_fields.size())
        throw ReportError(QStringLiteral("A row of %1 values for %2 fields").arg(values.size()).arg(m_fields.size()));
    m_rows << values;
}

int TableRowSource::fieldIndex(const QString& field) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

FieldKind TableRowSource::fieldKind(int column) const
{
    return m_kinds.value(column, FieldKind::Text);
}

QVariant TableRowSource::value(int column) const
{
    if (eof())
        return {};
    return m_rows.at(m_row).value(column);
}
