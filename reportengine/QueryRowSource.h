#pragma once

#include "RowSource.h"

class Query;

// Reads a window's open result set row by row, fetching further pages as it
// goes, without moving the result's own current row: the grid bound to it
// stays where the user left it. Before first() it reads the current row, so
// a title can print the selected record.
class QueryRowSource : public RowSource
{
public:
    explicit QueryRowSource(Query& query);

    void first() override;
    void next() override;
    bool eof() const override;
    qint64 rowsInAll() override;
    int fieldIndex(const QString& field) const override;
    FieldKind fieldKind(int column) const override;
    QVariant value(int column) const override;

private:
    Query& m_query;
    int m_row = -1;
    bool m_walking = false;
};
