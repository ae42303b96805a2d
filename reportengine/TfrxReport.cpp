#include "TfrxReport.h"

#include "PreparedReport.h"
#include "ReportBuilder.h"
#include "ReportError.h"
#include "TfrxRTFExport.h"

#include <QDialog>

TfrxReport::TfrxReport(const QString& name)
    : m_name(name)
    , m_prepared(std::make_shared<PreparedReport>())
{
}

TfrxReport::~TfrxReport() = default;

TfrxDBDataset& TfrxReport::addDataSet(const QString& name)
{
    if (dataSet(name))
        throw ReportError(QStringLiteral("Report %1: a second data set \"%2\"").arg(m_name, name));
    m_dataSets.push_back(std::make_unique<TfrxDBDataset>(name));
    return *m_dataSets.back();
}

TfrxDBDataset* TfrxReport::dataSet(const QString& name) const
{
    for (const auto& ds : m_dataSets) {
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds.get();
    }
    return nullptr;
}

TfrxMemoView* TfrxReport::FindObject(const QString& name) const
{
    for (const auto& band : m_page.bands()) {
        if (TfrxMemoView* memo = band->findMemo(name))
            return memo;
    }
    return nullptr;
}

void TfrxReport::PrepareReport(bool clearLastReport, WorkProgress* progress)
{
    // Built into a fresh copy: a failed build leaves the last pages as they were.
    auto built = std::make_shared<PreparedReport>();
    int firstPage = 1;
    if (!clearLastReport) {
        *built = *m_prepared;
        firstPage = static_cast<int>(built->pages.size()) + 1;
    }
    ReportBuilder builder(*this, *built, m_today ? m_today() : QDate::currentDate(), firstPage);
    builder.setProgress(progress);
    builder.build();
    m_prepared = std::move(built);
}

void TfrxReport::BuildPages(PreparedReport& out, const std::function<void(PreparedReport& out)>& pageDone,
                            WorkProgress* progress)
{
    ReportBuilder builder(*this, out, m_today ? m_today() : QDate::currentDate());
    builder.setProgress(progress);
    builder.setPageDone(pageDone);
    builder.build();
}

ExportResult TfrxReport::Export(TfrxRTFExport& filter)
{
    return filter.exportPages(*m_prepared);
}

void TfrxReport::ShowReport(bool clearLastReport)
{
    PrepareReport(clearLastReport);
    ShowPrepared();
}

void TfrxReport::ShowPrepared()
{
    ReportPreview preview(m_prepared);
    preview.setHooks(previewHooks);
    if (m_showPreview)
        m_showPreview(preview);
    else
        preview.window().exec();
}
