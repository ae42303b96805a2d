#include "ToolGridColumns.h"

#include "data/Columns.h"

namespace {

struct ToolColumn {
    const QString& field;
    const char* ru;
    const char* en;
};

const ToolColumn kColumns[] = {
    {col::Tools::ID_Tool, "ID инструмента", "ID tool"},
    {col::Tools::Tool_Type, "Тип", "Tool"},
    {col::Tools::Proizvoditel, "Производитель", "Brand"},
    {col::Tools::SNumber, "Серийный №", "Serial №"},
    {col::Tools::Model, "Модель", "Model"},
    {col::Tools::Tool_State, "Состояние", "Condition"},
    {col::Tools::Date_Purchase, "Приобретен", "Purchase date"},
    {col::Tools::Guarantee, "Гарантия", "Warranty"},
    {col::Tools::Price, "Цена", "Price"},
    {col::Tools::Naim, "Наименование", "Name"},
    {col::Tools::Inv, "Инвентарный", "Inventory"},
    {col::Tools::Mesto, "Место", "Place"},
};

} // namespace

QList<GridColumn> toolGridColumns()
{
    QList<GridColumn> columns;
    for (const ToolColumn& c : kColumns)
        columns.append({c.field, {}, {}});
    return columns;
}

QList<Localization::Text> toolGridTitles(const char* window, const char* grid)
{
    QList<Localization::Text> rows;
    int column = 0;
    for (const ToolColumn& c : kColumns)
        rows.append({window, grid, Localization::Property::ColumnTitle, column++, c.ru, c.en});
    return rows;
}
