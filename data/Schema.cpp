#include "Schema.h"

#include "Columns.h"
#include "Connection.h"
#include "SqlDialect.h"

Schema::Schema(Connection& connection, std::function<void()> beforeReconstruction)
    : m_db(connection)
    , m_beforeReconstruction(std::move(beforeReconstruction))
{
}

Select Schema::toolsDesign(const SqlDialect& dialect)
{
    return Select(col::Tools::Table).orderBy(dialect.falseFirst(col::Tools::Passed));
}

Select Schema::history()
{
    return Select(col::History::Table).orderBy(col::Key, true);
}

Select Schema::withToolColumns(Select journal)
{
    const QStringList matches{col::Tools::ID_Tool_Unique, col::Tools::ID_Tool};
    for (const QString& shown : {col::Tools::ID_Tool, col::Tools::Naim})
        journal.lookup({shown, col::Tools::Table, shown, col::History::ID_T, matches});
    return journal;
}

bool Schema::hasColumn(const QString& table, const QString& column)
{
    for (const TableColumn& c : m_db.columns(table)) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void Schema::addColumn(const QString& table, const QString& name, const QString& storeType)
{
    const auto& d = m_db.dialect();
    // The next step must see the new column.
    m_db.changeSchema(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                          .arg(d.quoteIdentifier(table), d.quoteIdentifier(name), d.columnType(storeType)));
}

void Schema::upgrade()
{
    MayBe_RedeclareText();
    MayBeAddPrice();
    MayBeAddTime();
    MayBeAdd_NaimMestoInv();
    MayBeAdd_Unique_ID();
    MayBeAdd_ISSUED_DATE();
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::WriteOff, QStringLiteral("Logical"));
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::WriteOff_AKT_ID, QStringLiteral("INTEGER"));
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::WriteOffNote, QStringLiteral("MEMO"));
    MayBe_CreateTable(QStringLiteral("NAIMENOVANIYA"));
    MayBe_CreateTable(QStringLiteral("MESTO"));
    MayBe_CreateTable(QStringLiteral("TOOLTYPES"));
    MayBe_CreateTable(col::WORKTYPES::Table);
    MayBe_CreateTable_AKTSpisaniya();
    MayBeAddIndexes();
}

void Schema::reconstructionStarts()
{
    if (m_reconstructionAnnounced)
        return;
    m_reconstructionAnnounced = true;
    if (m_beforeReconstruction)
        m_beforeReconstruction();
}

void Schema::MayBe_RedeclareText()
{
    const auto& d = m_db.dialect();
    const QStringList tables = d.tablesToRedeclare(m_db.database());
    if (tables.isEmpty())
        return;
    reconstructionStarts();
    {
        Connection::Transaction t(m_db);
        for (const QString& table : tables) {
            for (const auto& [sql, params] : d.redeclaration(m_db.database(), table))
                m_db.exec(sql, params);
        }
        t.commit();
    }
    m_db.schemaChanged();
}

void Schema::MayBeAddPrice()
{
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::Price, QStringLiteral("MONEY"));
}

void Schema::MayBeAddTime()
{
    if (!hasColumn(col::History::Table, col::History::ATime))
        addColumn(col::History::Table, col::History::ATime, QStringLiteral("TIME"));
}

void Schema::MayBeAdd_NaimMestoInv()
{
    for (const QString& name : {col::Tools::Naim, col::Tools::Inv, col::Tools::Mesto})
        MayBeAdd_FIELD_TO_TOOLS(name, QStringLiteral("VARCHAR(255)"));
}

void Schema::MayBeAdd_Unique_ID()
{
    if (hasColumn(col::Tools::Table, col::Tools::ID_Tool_Unique))
        return;
    reconstructionStarts();
    const auto& d = m_db.dialect();
    {
        // Column and fill together: a failure leaves the column absent, so the
        // next start does the whole step again.
        Connection::Transaction t(m_db);
        m_db.exec(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                      .arg(d.quoteIdentifier(col::Tools::Table), d.quoteIdentifier(col::Tools::ID_Tool_Unique),
                           d.columnType(QStringLiteral("VARCHAR(255)"))));
        m_db.exec(QStringLiteral("UPDATE %1 SET %2 = %3")
                      .arg(d.quoteIdentifier(col::Tools::Table), d.quoteIdentifier(col::Tools::ID_Tool_Unique),
                           d.quoteIdentifier(col::Tools::ID_Tool)));
        t.commit();
    }
    m_db.schemaChanged();
}

void Schema::MayBeAdd_ISSUED_DATE()
{
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::Issued_date, QStringLiteral("DATE"));
}

void Schema::MayBeAdd_FIELD_TO_TOOLS(const QString& AFieldName, const QString& AFieldType)
{
    if (!hasColumn(col::Tools::Table, AFieldName))
        addColumn(col::Tools::Table, AFieldName, AFieldType);
}

void Schema::MayBe_CreateTable(const QString& TABLE_NAME)
{
    if (m_db.hasTable(TABLE_NAME))
        return;
    const auto& d = m_db.dialect();
    m_db.changeSchema(QStringLiteral("CREATE TABLE %1\n (%2,\n AField %3,\n AField_2 %4)")
                          .arg(d.quoteIdentifier(TABLE_NAME), d.autoKey(QStringLiteral("ID")),
                               d.columnType(QStringLiteral("CHAR(255)")), d.columnType(QStringLiteral("MEMO"))));
}

void Schema::MayBe_CreateTable_AKTSpisaniya()
{
    if (m_db.hasTable(QStringLiteral("AKTSpisaniya")))
        return;
    const auto& d = m_db.dialect();
    m_db.changeSchema(QStringLiteral("CREATE TABLE AKTSpisaniya\n (%1,\n AName %2,\n ADate %3,\n ANote %4)")
                          .arg(d.autoKey(QStringLiteral("ID")), d.columnType(QStringLiteral("CHAR(255)")),
                               d.columnType(QStringLiteral("DATETIME")), d.columnType(QStringLiteral("MEMO"))));
}

QStringList Schema::indexStatements(const SqlDialect& d)
{
    static const struct {
        const char* name;
        const char* table;
        const char* column;
        bool caseless; // serves the code lookups, which ignore letter case
    } indexes[] = {
        {"ix_Tools_ID_Tool", "Tools", "ID_Tool", true}, {"ix_Tools_ID_Tool_Unique", "Tools", "ID_Tool_Unique", true},
        {"ix_Users_ID_User", "Users", "ID_User", true}, {"ix_History_ID_T", "History", "ID_T", true},
        {"ix_History_ID_U", "History", "ID_U", true},   {"ix_History_ADate", "History", "ADate", false},
        {"ix_Tools_Passed", "Tools", "Passed", false},  {"ix_Tools_WriteOff_AKT_ID", "Tools", "WriteOff_AKT_ID", false},
    };
    QStringList statements;
    for (const auto& ix : indexes) {
        const QString column = QLatin1String(ix.column);
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(d.quoteIdentifier(QLatin1String(ix.name)), d.quoteIdentifier(QLatin1String(ix.table)),
                               ix.caseless ? d.caselessIndexTerm(column) : d.quoteIdentifier(column));
    }
    return statements;
}

void Schema::MayBeAddIndexes()
{
    for (const QString& sql : indexStatements(m_db.dialect()))
        m_db.changeSchema(sql);
}
