#include "TfrxReportPage.h"

#include "ReportUnits.h"

TfrxReportPage::TfrxReportPage()
{
    const double m = ReportUnits::fromMm(10);
    m_margins = QMarginsF(m, m, m, m);
}

QSizeF TfrxReportPage::paperSize() const
{
    const QSizeF portrait(ReportUnits::fromMm(210), ReportUnits::fromMm(297));
    return m_orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

TfrxBand& TfrxReportPage::addBand(TfrxBand::Kind kind, const QString& name)
{
    m_bands.push_back(std::make_unique<TfrxBand>(kind, name));
    return *m_bands.back();
}
