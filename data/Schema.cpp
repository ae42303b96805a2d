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

bool Schema::hasTable(const QString& table)
{
    if (!m_tables)
        m_tables = m_db.userTables();
    return m_tables->contains(table, Qt::CaseInsensitive);
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
    MayBeAddLoanPeriods();
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
                m_db.command(sql, params);
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
        m_db.command(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
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
    if (hasTable(TABLE_NAME))
        return;
    m_tables->append(TABLE_NAME);
    const auto& d = m_db.dialect();
    m_db.changeSchema(QStringLiteral("CREATE TABLE %1\n (%2,\n %3 %4,\n %5 %6)")
                          .arg(d.quoteIdentifier(TABLE_NAME), d.autoKey(col::Key), col::Dictionary::AField,
                               d.columnType(QStringLiteral("CHAR(255)")), col::Dictionary::AField_2,
                               d.columnType(QStringLiteral("MEMO"))));
}

void Schema::MayBe_CreateTable_AKTSpisaniya()
{
    namespace A = col::AKTSpisaniya;
    if (hasTable(A::Table))
        return;
    m_tables->append(A::Table);
    const auto& d = m_db.dialect();
    m_db.changeSchema(QStringLiteral("CREATE TABLE %1\n (%2,\n %3 %4,\n %5 %6,\n %7 %8)")
                          .arg(A::Table, d.autoKey(col::Key), A::AName, d.columnType(QStringLiteral("CHAR(255)")),
                               A::ADate, d.columnType(QStringLiteral("DATETIME")), A::ANote,
                               d.columnType(QStringLiteral("MEMO"))));
}

void Schema::MayBeAddLoanPeriods()
{
    // Empty in every existing row: no tool gets a due date until a period is set.
    MayBeAdd_FIELD_TO_TOOLS(col::Tools::LoanDays, QStringLiteral("INTEGER"));
    if (!hasColumn(col::TOOLTYPES::Table, col::TOOLTYPES::LoanDays))
        addColumn(col::TOOLTYPES::Table, col::TOOLTYPES::LoanDays, QStringLiteral("INTEGER"));
    if (!hasColumn(col::History::Table, col::History::Due_date))
        addColumn(col::History::Table, col::History::Due_date, QStringLiteral("DATE"));
}

QList<Schema::Index> Schema::indexes(const SqlDialect& d)
{
    static const struct {
        const char* name;
        const char* table;
        const char* column;
        bool caseless;              // serves the code lookups, which ignore letter case
        const char* then = nullptr; // a second column: rows in a list's order without a sort
    } indexes[] = {
        {"ix_Tools_ID_Tool", "Tools", "ID_Tool", true},
        {"ix_Tools_ID_Tool_Unique", "Tools", "ID_Tool_Unique", true},
        {"ix_Users_ID_User", "Users", "ID_User", true},
        {"ix_History_ID_T", "History", "ID_T", true},
        {"ix_History_ID_U", "History", "ID_U", true},
        {"ix_History_ADate", "History", "ADate", false},
        {"ix_Tools_Passed", "Tools", "Passed", false},
        {"ix_Tools_WriteOff_AKT_ID", "Tools", "WriteOff_AKT_ID", false},
        // The tool list's first page: in the store last, then by key. The
        // file orders equal keys of an index by row number already; the
        // server does not.
        {"ix_Tools_Passed_ID", "Tools", "Passed", false, "ID"},
        // A worker's tools: the desk's overdue line at every scan of a badge.
        {"ix_Tools_OwnerID", "Tools", "OwnerID", false},
    };
    QList<Index> statements;
    for (const auto& ix : indexes) {
        const QString column = QLatin1String(ix.column);
        QString terms = ix.caseless ? d.caselessIndexTerm(column) : d.quoteIdentifier(column);
        if (ix.then)
            terms += QStringLiteral(", ") + d.quoteIdentifier(QLatin1String(ix.then));
        statements << Index{
            QLatin1String(ix.name),
            QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                .arg(d.quoteIdentifier(QLatin1String(ix.name)), d.quoteIdentifier(QLatin1String(ix.table)), terms)};
    }
    return statements;
}

void Schema::MayBeAddIndexes()
{
    // Only the missing ones: making an index locks its table against other
    // desks' events for a moment, even when the index is there already.
    const QStringList present = m_db.indexNames();
    for (const Index& index : indexes(m_db.dialect())) {
        if (!present.contains(index.name, Qt::CaseInsensitive))
            m_db.changeSchema(index.statement);
    }
}
