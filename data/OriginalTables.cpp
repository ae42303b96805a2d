#include "OriginalTables.h"

#include "Connection.h"

namespace {

struct Column {
    const char* name;
    const char* storeType;
};

void createTable(Connection& db, const char* table, std::initializer_list<Column> columns)
{
    const auto& d = db.dialect();
    QStringList defs{d.autoKey(QStringLiteral("ID"))};
    for (const Column& c : columns)
        defs << d.quoteIdentifier(QLatin1String(c.name)) + u' ' + d.columnType(QLatin1String(c.storeType));
    db.changeSchema(QStringLiteral("CREATE TABLE %1 (%2)")
                        .arg(d.quoteIdentifier(QLatin1String(table)), defs.join(QStringLiteral(", "))));
}

} // namespace

void createOriginalTables(Connection& db)
{
    Connection::Transaction transaction(db);
    createTable(db, "Tools",
                {{"ID_Tool", "TEXT(16)"},
                 {"Tool_Type", "TEXT(255)"},
                 {"Proizvoditel", "TEXT(255)"},
                 {"SNumber", "TEXT(255)"},
                 {"Guarantee", "DATE"},
                 {"Tool_State", "TEXT(255)"},
                 {"Photo", "LONGBINARY"},
                 {"Model", "TEXT(255)"},
                 {"Date_Purchase", "DATE"},
                 {"Passed", "Logical"},
                 {"OwnerID", "TEXT(255)"}});
    createTable(db, "Users",
                {{"ID_User", "TEXT(16)"},
                 {"FIO", "TEXT(255)"},
                 {"Phone", "TEXT(255)"},
                 {"Organization", "TEXT(255)"},
                 {"Otdel", "TEXT(255)"},
                 {"Shef_FIO", "TEXT(255)"},
                 {"Shef_Phone", "TEXT(255)"},
                 {"Photo", "LONGBINARY"}});
    createTable(db, "History",
                {{"ID_U", "TEXT(16)"},
                 {"ID_T", "TEXT(255)"},
                 {"ADate", "DATE"},
                 {"Operation", "TEXT(255)"},
                 {"Note", "TEXT(255)"},
                 {"FIO", "TEXT(255)"},
                 {"IType", "TEXT(255)"},
                 {"Model", "TEXT(255)"},
                 {"Organization", "TEXT(255)"},
                 {"State", "TEXT(255)"}});
    createTable(db, "State", {{"AName", "TEXT(255)"}});
    createTable(db, "Operations", {{"AName", "TEXT(255)"}});
    transaction.commit();
    db.schemaChanged();
}

QStringList missingOriginalTables(const QStringList& tables)
{
    QStringList missing;
    for (const char* name : {"Tools", "Users", "History", "State", "Operations"}) {
        if (!tables.contains(QLatin1String(name), Qt::CaseInsensitive))
            missing << QLatin1String(name);
    }
    return missing;
}
