#pragma once

#include "data/FieldKind.h"

#include <QString>
#include <QVariant>

// The rows a data set reads: a result set of a window, or a plain table.
// It has a current row of its own; reading a report never moves a window's
// grid.
class RowSource
{
public:
    virtual ~RowSource() = default;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // How many rows first() to eof() walks; 0 when not known cheaply.
    virtual qint64 rowsInAll() { return 0; }

    // -1 when the source has no such field; letter case is ignored.
    virtual int fieldIndex(const QString& field) const = 0;
    virtual FieldKind fieldKind(int column) const = 0;
    // The value of the current row; null past the end.
    virtual QVariant value(int column) const = 0;
};
