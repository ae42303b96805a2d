#include "ActToolRows.h"

#include "data/Columns.h"
#include "data/Query.h"

QList<ActTool> actToolsOf(Query& tools)
{
    while (tools.canFetchMore())
        tools.fetchMore();
    const int name = tools.fieldIndex(col::Tools::Naim);
    const int price = tools.fieldIndex(col::Tools::Price);
    const int inventory = tools.fieldIndex(col::Tools::Inv);
    QList<ActTool> list;
    list.reserve(tools.fetchedCount());
    for (int row = 0; row < tools.fetchedCount(); ++row) {
        ActTool tool;
        tool.name = tools.value(row, name).toString();
        const QVariant stored = tools.value(row, price);
        bool isNumber = false;
        const double value = stored.toDouble(&isNumber);
        if (!stored.isNull() && isNumber)
            tool.price = value;
        tool.inventory = tools.value(row, inventory).toString();
        list.append(tool);
    }
    return list;
}
