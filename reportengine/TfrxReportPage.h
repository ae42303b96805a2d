#pragma once

#include "TfrxBand.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <memory>
#include <vector>

// The one page of a template: A4 in either orientation, its margins and its
// bands in layout order. Sizes are report units.
class TfrxReportPage
{
public:
    TfrxReportPage();

    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    QSizeF paperSize() const;

    const QMarginsF& margins() const { return m_margins; }
    void setMargins(const QMarginsF& units) { m_margins = units; }

    TfrxBand& addBand(TfrxBand::Kind kind, const QString& name);
    const std::vector<std::unique_ptr<TfrxBand>>& bands() const { return m_bands; }

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins;
    std::vector<std::unique_ptr<TfrxBand>> m_bands;
};
