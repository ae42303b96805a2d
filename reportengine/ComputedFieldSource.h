#pragma once

#include "RowSource.h"

#include <functional>

// Another source's rows with one more field computed from each row, such as
// a holder's name looked up by the holder's key.
class ComputedFieldSource : public RowSource
{
public:
    using Compute = std::function<QVariant(const RowSource& row)>;

    ComputedFieldSource(RowSource& base, const QString& field, Compute compute, FieldKind kind = FieldKind::Text);

    void first() override { m_base.first(); }
    void next() override { m_base.next(); }
    bool eof() const override { return m_base.eof(); }
    qint64 rowsInAll() override { return m_base.rowsInAll(); }
    int fieldIndex(const QString& field) const override;
    FieldKind fieldKind(int column) const override;
    QVariant value(int column) const override;

private:
    // Far above any base column.
    static constexpr int computedColumn() { return 1 << 20; }

    RowSource& m_base;
    QString m_field;
    Compute m_compute;
    FieldKind m_kind;
};
