#include "TitleSort.h"

#include "data/Query.h"
#include "data/QueryModel.h"

void TitleSort::toggle(Query& rows, const QueryModel& model, int column)
{
    const QString field = model.columns().value(column).field;
    if (field.isEmpty() || !rows.isOpen())
        return;
    const bool ascending = !m_ascending.contains(field);
    if (!rows.setSort(field, !ascending))
        return;
    if (ascending)
        m_ascending.insert(field);
    else
        m_ascending.remove(field);
}
