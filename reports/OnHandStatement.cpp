#include "OnHandStatement.h"

#include "reportengine/ReportTemplates.h"
#include "reportengine/TfrxMemoView.h"
#include "reportengine/TfrxReport.h"

namespace {

void setMemo(TfrxReport& report, const char* name, const QString& text)
{
    if (TfrxMemoView* memo = report.FindObject(QLatin1String(name)))
        memo->setText(text);
}

} // namespace

OnHandStatement::OnHandStatement() = default;

OnHandStatement::~OnHandStatement() = default;

TfrxReport& OnHandStatement::prepare(bool russian, const Holder& holder, Query& heldTools, Query& journal,
                                     WorkProgress* progress)
{
    // Read when first asked for: the card is built at every start.
    std::unique_ptr<TfrxReport>& chosen = russian ? frxReport_ToolOnH : frxReport_ToolOnH_EN;
    if (!chosen)
        chosen = ReportTemplates::load(russian ? QStringLiteral("frxReport_ToolOnH")
                                               : QStringLiteral("frxReport_ToolOnH_EN"));
    TfrxReport& report = *chosen;
    report.dataSet(QStringLiteral("frxDBDataset1"))->setQuery(heldTools);
    report.dataSet(QStringLiteral("frxDBDataset_FIO"))->setQuery(journal);
    setMemo(report, "recCount", QString::number(holder.toolCount));
    setMemo(report, "frxFIO", holder.fio);
    setMemo(report, "frxOrganization", holder.organization);
    setMemo(report, "frxID_U", holder.code);
    setMemo(report, "frxSUM", holder.total);
    report.PrepareReport(true, progress);
    return report;
}
