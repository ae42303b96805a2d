#pragma once

#include "data/QueryModel.h"

#include <QList>
#include <QStringList>

class DbGrid;
class Query;
class QWidget;

// A grid over a result set: its columns, their starting widths (any not
// given keep the grid's default), and the width the grid gets shared out
// among them.
DbGrid* queryGrid(QWidget* parent, const char* name, Query& rows, const QList<GridColumn>& columns,
                  const QList<int>& widths = {});

// Columns that show these fields as they are stored.
QList<GridColumn> plainColumns(const QStringList& fields);
