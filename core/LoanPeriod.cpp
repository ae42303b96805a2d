#include "LoanPeriod.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Select.h"
#include "data/SqlDialect.h"

namespace LoanPeriod {

QVariant days(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    bool number = false;
    const int value = stored.toString().trimmed().toInt(&number);
    return number ? QVariant(value) : QVariant();
}

QDate dueDate(const QDate& issued, const QVariant& toolDays, const QVariant& typeDays)
{
    const QVariant own = days(toolDays);
    const QVariant period = own.isNull() ? days(typeDays) : own;
    if (period.isNull() || period.toInt() <= 0 || !issued.isValid())
        return {};
    return issued.addDays(period.toInt());
}

QVariant typeDays(Connection& db, const QString& toolType)
{
    const QString type = toolType.trimmed();
    if (type.isEmpty())
        return {};
    namespace T = col::TOOLTYPES;
    // The first entry of that name, as the dictionary lists them.
    const Select entry = Select(T::Table)
                             .columns({T::LoanDays})
                             .where(db.dialect().caselessEquals(col::Dictionary::AField, type), {type})
                             .orderBy(col::Key)
                             .limit(1);
    return days(db.scalar(entry));
}

QDate dueDate(Connection& db, const Query& tool, const QDate& issued)
{
    const QVariant own = tool.hasField(col::Tools::LoanDays) ? days(tool.value(col::Tools::LoanDays)) : QVariant();
    if (!own.isNull())
        return dueDate(issued, own, {});
    return dueDate(issued, {}, typeDays(db, tool.text(col::Tools::Tool_Type)));
}

} // namespace LoanPeriod
