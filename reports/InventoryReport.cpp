#include "InventoryReport.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "reportengine/ComputedFieldSource.h"
#include "reportengine/QueryRowSource.h"
#include "reportengine/ReportTemplates.h"
#include "reportengine/TfrxReport.h"

InventoryReport::InventoryReport(Connection& db)
    : qPassedTrue(db)
    , qPassedFalse(db)
    , m_db(db)
    , m_outRows(std::make_unique<QueryRowSource>(qPassedFalse))
{
    const auto byType = [](const QString& passed) {
        return Select(col::Tools::Table)
            .where(col::Tools::Passed + QStringLiteral("=") + passed)
            .orderBy(col::Tools::Tool_Type);
    };
    qPassedTrue.setStatement(byType(db.dialect().sqlTrue()));
    qPassedFalse.setStatement(byType(db.dialect().sqlFalse()));
    m_outWithOwner = std::make_shared<ComputedFieldSource>(
        *m_outRows, QStringLiteral("OwnerFIO"), [this](const RowSource& row) {
            const int owner = row.fieldIndex(col::Tools::OwnerID);
            return QVariant(owner < 0 ? QString() : ownerFio(row.value(owner)));
        });
}

TfrxReport& InventoryReport::report(bool russian)
{
    // Read when first asked for: the tool list is built at every start.
    std::unique_ptr<TfrxReport>& chosen = russian ? frxReport_Invent_RU : frxReport_Invent_EN;
    if (!chosen) {
        chosen = ReportTemplates::load(russian ? QStringLiteral("frxReport_Invent_RU")
                                               : QStringLiteral("frxReport_Invent_EN"));
        chosen->dataSet(QStringLiteral("frxDBDataset_PasTr"))->setQuery(qPassedTrue);
        chosen->dataSet(QStringLiteral("frxDBDataset_PasFls"))->setSource(m_outWithOwner);
    }
    return *chosen;
}

InventoryReport::~InventoryReport()
{
    // The sources read the queries: they go first.
    frxReport_Invent_RU.reset();
    frxReport_Invent_EN.reset();
    m_outWithOwner.reset();
    m_outRows.reset();
}

QString InventoryReport::ownerFio(const QVariant& ownerId)
{
    // The holder is found among all recipients, whatever the recipient list
    // shows at the moment.
    const QString key = ownerId.toString().trimmed();
    bool numeric = false;
    const qlonglong id = key.toLongLong(&numeric);
    if (!numeric)
        return {};
    const auto known = m_owners.constFind(key);
    if (known != m_owners.constEnd())
        return *known;
    const QString fio =
        m_db.scalar(Select(col::Users::Table).columns({col::Users::FIO}).whereEquals(col::Key, id)).toString();
    m_owners.insert(key, fio);
    return fio;
}

TfrxReport& InventoryReport::prepare(bool russian, WorkProgress* progress)
{
    qPassedTrue.close();
    qPassedFalse.close();
    qPassedTrue.open();
    qPassedFalse.open();
    m_owners.clear();
    TfrxReport& chosen = report(russian);
    chosen.PrepareReport(true, progress);
    return chosen;
}
