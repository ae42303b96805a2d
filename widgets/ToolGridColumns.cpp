#include "ToolGridColumns.h"

#include "data/RegisterColumns.h"

QList<GridColumn> toolGridColumns()
{
    QList<GridColumn> columns;
    for (const RegisterColumn& c : toolRegisterColumns())
        columns.append({c.field, {}, {}});
    return columns;
}

QList<Localization::Text> toolGridTitles(const char* window, const char* grid)
{
    QList<Localization::Text> rows;
    int column = 0;
    for (const RegisterColumn& c : toolRegisterColumns())
        rows.append({window, grid, Localization::Property::ColumnTitle, column++, c.ru, c.en});
    return rows;
}
