#include "OutReport.h"

#include "reportengine/ReportTemplates.h"
#include "reportengine/TableRowSource.h"
#include "reportengine/TfrxDBDataset.h"

namespace {

const QStringList kFields = {QStringLiteral("Code"),    QStringLiteral("Name"),       QStringLiteral("Type"),
                             QStringLiteral("Holder"),  QStringLiteral("Department"), QStringLiteral("IssuedAt"),
                             QStringLiteral("DaysOut"), QStringLiteral("Due"),        QStringLiteral("Overdue")};

} // namespace

OutReport::OutReport() = default;

OutReport::~OutReport()
{
    // The templates read the sources: they go first.
    m_ru.reset();
    m_en.reset();
}

void OutReport::setHooks(std::function<QDate()> today, TfrxReport::ShowPreview showPreview)
{
    m_today = std::move(today);
    m_showPreview = std::move(showPreview);
    for (const auto* t : {&m_ru, &m_en}) {
        if (*t) {
            (*t)->setToday(m_today);
            (*t)->setShowPreview(m_showPreview);
        }
    }
}

TfrxReport& OutReport::report(bool russian)
{
    std::unique_ptr<TfrxReport>& chosen = russian ? m_ru : m_en;
    if (!chosen) {
        chosen = ReportTemplates::load(russian ? QStringLiteral("frxReport_Out_RU")
                                               : QStringLiteral("frxReport_Out_EN"));
        if (m_today)
            chosen->setToday(m_today);
        if (m_showPreview)
            chosen->setShowPreview(m_showPreview);
    }
    return *chosen;
}

TfrxReport& OutReport::prepare(bool russian, const QList<OutTool>& tools, const QDate& today, const QString& title,
                               const QString& counts, WorkProgress* progress)
{
    auto rows = std::make_shared<TableRowSource>(kFields);
    for (const OutTool& tool : tools) {
        QVariantList values;
        for (int column = 0; column < ToolsOut::ColumnCount; ++column)
            values << ToolsOut::cellText(tool, column, today);
        values << (tool.overdue(today) ? QString::number(tool.due.daysTo(today)) : QString());
        rows->addRow(values);
    }
    auto head = std::make_shared<TableRowSource>(QStringList{QStringLiteral("Title"), QStringLiteral("Counts")});
    head->addRow({title, counts});
    TfrxReport& chosen = report(russian);
    chosen.dataSet(QStringLiteral("frxDBDataset1"))->setSource(rows);
    chosen.dataSet(QStringLiteral("frxDBDataset_Head"))->setSource(head);
    m_rows = std::move(rows);
    m_head = std::move(head);
    chosen.PrepareReport(true, progress);
    return chosen;
}
