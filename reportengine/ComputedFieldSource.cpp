#include "ComputedFieldSource.h"

ComputedFieldSource::ComputedFieldSource(RowSource& base, const QString& field, Compute compute, FieldKind kind)
    : m_base(base)
    , m_field(field)
    , m_compute(std::move(compute))
    , m_kind(kind)
{
}

int ComputedFieldSource::fieldIndex(const QString& field) const
{
    // The computed field hides a base field of the same name.
    if (field.compare(m_field, Qt::CaseInsensitive) == 0)
        return computedColumn();
    return m_base.fieldIndex(field);
}

FieldKind ComputedFieldSource::fieldKind(int column) const
{
    return column == computedColumn() ? m_kind : m_base.fieldKind(column);
}

QVariant ComputedFieldSource::value(int column) const
{
    if (column != computedColumn())
        return m_base.value(column);
    return m_base.eof() ? QVariant() : m_compute(m_base);
}
