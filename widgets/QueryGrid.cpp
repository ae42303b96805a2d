#include "QueryGrid.h"

#include "DbGrid.h"
#include "Named.h"

DbGrid* queryGrid(QWidget* parent, const char* name, Query& rows, const QList<GridColumn>& columns,
                  const QList<int>& widths)
{
    auto* grid = named(new DbGrid(parent), name);
    auto* model = new QueryModel(rows, grid);
    model->setColumns(columns);
    grid->setQueryModel(model);
    for (int i = 0; i < widths.size(); ++i)
        grid->setColumnWidth(i, widths[i]);
    grid->setSpreadOnResize(true);
    return grid;
}

QList<GridColumn> plainColumns(const QStringList& fields)
{
    QList<GridColumn> columns;
    for (const QString& field : fields)
        columns.append({field, {}, {}});
    return columns;
}
