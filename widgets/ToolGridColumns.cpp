#include "ToolGridColumns.h"

namespace {

struct ToolColumn {
    const char* field;
    const char* ru;
    const char* en;
};

constexpr ToolColumn kColumns[] = {
    {"ID_Tool", "ID инструмента", "ID tool"},
    {"Tool_Type", "Тип", "Tool"},
    {"Proizvoditel", "Производитель", "Brand"},
    {"SNumber", "Серийный №", "Serial №"},
    {"Model", "Модель", "Model"},
    {"Tool_State", "Состояние", "Condition"},
    {"Date_Purchase", "Приобретен", "Purchase date"},
    {"Guarantee", "Гарантия", "Warranty"},
    {"Price", "Цена", "Price"},
    {"Naim", "Наименование", "Name"},
    {"Inv", "Инвентарный", "Inventory"},
    {"Mesto", "Место", "Place"},
};

} // namespace

QList<GridColumn> toolGridColumns()
{
    QList<GridColumn> columns;
    for (const ToolColumn& c : kColumns)
        columns.append({QLatin1String(c.field), {}, {}});
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
