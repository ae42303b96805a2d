#pragma once

#include "RowSource.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

// Rows held in memory: for reports made from computed values, and for tests.
class TableRowSource : public RowSource
{
public:
    TableRowSource(const QStringList& fields, const QList<FieldKind>& kinds = {});

    void addRow(const QVariantList& values);
    int rowCount() const { return static_cast<int>(m_rows.size()); }

    void first() override { m_row = 0; }
    void next() override { ++m_row; }
    bool eof() const override { return m_row >= rowCount(); }
    qint64 rowsInAll() override { return rowCount(); }
    int fieldIndex(const QString& field) const override;
    FieldKind fieldKind(int column) const override;
    QVariant value(int column) const override;

private:
    QStringList m_fields;
    QList<FieldKind> m_kinds;
    QList<QVariantList> m_rows;
    int m_row = 0;
};
