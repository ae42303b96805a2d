#include "Schema.h"

#include "Connection.h"
#include "Query.h"

Schema::Schema(Connection& connection, Query& qTools, Query& qHistory, std::function<void()> beforeReconstruction)
    : m_db(connection)
    , m_tools(qTools)
    , m_history(qHistory)
    , m_beforeReconstruction(std::move(beforeReconstruction))
{
}

QString Schema::toolsDesignSql() const
{
    return QStringLiteral("SELECT * FROM Tools ORDER BY ") + m_db.dialect().falseFirst(QStringLiteral("Passed"));
}

QString Schema::historySql()
{
    return QStringLiteral("SELECT * FROM History ORDER BY ID DESC");
}

void Schema::upgrade()
{
    MayBe_RedeclareText();
    MayBeAddPrice();
    MayBeAddTime();
    MayBeAdd_NaimMestoInv();
    MayBeAdd_Unique_ID();
    MayBeAdd_ISSUED_DATE();
    MayBeAdd_FIELD_TO_TOOLS(QStringLiteral("WriteOff"), QStringLiteral("Logical"));
    MayBeAdd_FIELD_TO_TOOLS(QStringLiteral("WriteOff_AKT_ID"), QStringLiteral("INTEGER"));
    MayBeAdd_FIELD_TO_TOOLS(QStringLiteral("WriteOffNote"), QStringLiteral("MEMO"));
    MayBe_CreateTable(QStringLiteral("NAIMENOVANIYA"));
    MayBe_CreateTable(QStringLiteral("MESTO"));
    MayBe_CreateTable(QStringLiteral("TOOLTYPES"));
    MayBe_CreateTable(QStringLiteral("WORKTYPES"));
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
    const QString toolsSql = m_tools.sql();
    const QVariantList toolsParams = m_tools.params();
    const QString historySql = m_history.sql();
    const QVariantList historyParams = m_history.params();
    m_tools.close();
    m_history.close();
    {
        Connection::Transaction t(m_db);
        for (const QString& table : tables) {
            for (const auto& [sql, params] : d.redeclaration(m_db.database(), table))
                m_db.exec(sql, params);
        }
        t.commit();
    }
    m_db.schemaChanged();
    m_tools.setSql(toolsSql, toolsParams);
    m_tools.open();
    m_history.setSql(historySql, historyParams);
    m_history.open();
}

void Schema::reopenTools()
{
    m_tools.setSql(toolsDesignSql());
    m_tools.open();
}

void Schema::addToolsColumn(const QString& name, const QString& storeType)
{
    const auto& d = m_db.dialect();
    m_tools.setSql(
        QStringLiteral("ALTER TABLE %1 ADD %2 %3")
            .arg(d.quoteIdentifier(QStringLiteral("Tools")), d.quoteIdentifier(name), d.columnType(storeType)));
    m_tools.execSql();
}

void Schema::MayBeAddPrice()
{
    if (m_tools.hasField(QStringLiteral("Price")))
        return;
    addToolsColumn(QStringLiteral("Price"), QStringLiteral("MONEY"));
    reopenTools();
}

void Schema::MayBeAddTime()
{
    if (m_history.hasField(QStringLiteral("ATime")))
        return;
    const auto& d = m_db.dialect();
    m_history.setSql(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                         .arg(d.quoteIdentifier(QStringLiteral("History")), d.quoteIdentifier(QStringLiteral("ATime")),
                              d.columnType(QStringLiteral("TIME"))));
    m_history.execSql();
    m_history.setSql(historySql());
    m_history.open();
}

void Schema::MayBeAdd_NaimMestoInv()
{
    for (const char* name : {"Naim", "Inv", "Mesto"}) {
        if (!m_tools.hasField(QLatin1String(name))) {
            addToolsColumn(QLatin1String(name), QStringLiteral("VARCHAR(255)"));
            reopenTools(); // the next test must see the new column
        }
    }
}

void Schema::MayBeAdd_Unique_ID()
{
    if (m_tools.hasField(QStringLiteral("ID_Tool_Unique")))
        return;
    reconstructionStarts();
    const auto& d = m_db.dialect();
    m_tools.close();
    {
        // Column and fill together: a failure leaves the column absent, so the
        // next start does the whole step again.
        Connection::Transaction t(m_db);
        m_db.exec(QStringLiteral("ALTER TABLE %1 ADD %2 %3")
                      .arg(d.quoteIdentifier(QStringLiteral("Tools")),
                           d.quoteIdentifier(QStringLiteral("ID_Tool_Unique")),
                           d.columnType(QStringLiteral("VARCHAR(255)"))));
        m_db.exec(QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool"));
        t.commit();
    }
    m_db.schemaChanged();
    reopenTools();
}

void Schema::MayBeAdd_ISSUED_DATE()
{
    MayBeAdd_FIELD_TO_TOOLS(QStringLiteral("Issued_date"), QStringLiteral("DATE"));
}

void Schema::MayBeAdd_FIELD_TO_TOOLS(const QString& AFieldName, const QString& AFieldType)
{
    if (m_tools.hasField(AFieldName))
        return;
    addToolsColumn(AFieldName, AFieldType);
    reopenTools();
}

void Schema::MayBe_CreateTable(const QString& TABLE_NAME)
{
    if (m_db.hasTable(TABLE_NAME))
        return;
    const auto& d = m_db.dialect();
    m_db.exec(QStringLiteral("CREATE TABLE %1\n (%2,\n AField %3,\n AField_2 %4)")
                  .arg(d.quoteIdentifier(TABLE_NAME), d.autoKey(QStringLiteral("ID")),
                       d.columnType(QStringLiteral("CHAR(255)")), d.columnType(QStringLiteral("MEMO"))));
}

void Schema::MayBe_CreateTable_AKTSpisaniya()
{
    if (m_db.hasTable(QStringLiteral("AKTSpisaniya")))
        return;
    const auto& d = m_db.dialect();
    m_db.exec(QStringLiteral("CREATE TABLE AKTSpisaniya\n (%1,\n AName %2,\n ADate %3,\n ANote %4)")
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
        m_db.exec(sql);
}
