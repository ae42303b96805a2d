#include "RegisterTables.h"

#include "core/RecipientSearch.h"
#include "core/Settings.h"
#include "core/ToolSearch.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/RegisterColumns.h"

namespace {

ExportKind kindOf(const QString& field, FieldKind stored)
{
    if (field == col::Tools::Price)
        return ExportKind::Money;
    switch (stored) {
    case FieldKind::Date:
    case FieldKind::DateTime:
        return ExportKind::Date;
    case FieldKind::Integer:
    case FieldKind::Real:
        return ExportKind::Number;
    case FieldKind::Bool:
        return ExportKind::Bool;
    default:
        return ExportKind::Text;
    }
}

// The register's columns that shown(n) keeps, typed as the table stores them.
ExportTable registerTable(Connection& db, const QString& table, const QList<RegisterColumn>& columns,
                          const std::function<bool(int)>& shown, const Select& select, const QList<OrderTerm>& order,
                          bool russian)
{
    QHash<QString, FieldKind> stored;
    for (const TableColumn& c : db.columns(table))
        stored.insert(c.name.toLower(), c.kind);
    ExportTable result;
    result.russian = russian;
    result.select = select;
    result.order = order.isEmpty() ? select.keysetOrder({}, col::Key) : order;
    for (int n = 0; n < columns.size(); ++n) {
        if (!shown(n))
            continue;
        const RegisterColumn& c = columns.at(n);
        result.columns.append({c.field, c.title(russian), kindOf(c.field, stored.value(c.field.toLower()))});
    }
    return result;
}

} // namespace

ExportTable toolRegisterTable(Connection& db, const Select& select, const QList<OrderTerm>& order,
                              const Settings& settings, bool russian)
{
    ExportTable t = registerTable(
        db, col::Tools::Table, toolRegisterColumns(),
        [&settings](int n) { return n == 0 || settings.toolColumnVisible(n); }, select, order, russian);
    t.title = russian ? QStringLiteral("Инструмент") : QStringLiteral("Tools");
    return t;
}

ExportTable recipientRegisterTable(Connection& db, const Select& select, const QList<OrderTerm>& order, bool russian)
{
    ExportTable t = registerTable(
        db, col::Users::Table, recipientRegisterColumns(), [](int) { return true; }, select, order, russian);
    t.title = russian ? QStringLiteral("Получатели") : QStringLiteral("Users");
    return t;
}

ExportTable wholeToolRegister(Connection& db, const Settings& settings, bool russian)
{
    const SqlDialect& d = db.dialect();
    return toolRegisterTable(db, toolSearchStatement({}, {}, false, {}, d, d.falseFirst(col::Tools::Passed)), {},
                             settings, russian);
}

ExportTable wholeRecipientRegister(Connection& db, bool russian)
{
    return recipientRegisterTable(db, recipientSearchStatement(db.dialect(), {}, {}), {}, russian);
}
