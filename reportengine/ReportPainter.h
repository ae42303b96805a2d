#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <vector>

class PreparedReport;
class QPainter;

// Paints built pages on any device: screen preview, printer or PDF. The
// painter's origin is the paper's top-left corner; the device's resolution
// scales report units (96 per inch) to its pixels.
class ReportPainter
{
public:
    explicit ReportPainter(const PreparedReport& report);

    void paintPage(QPainter& painter, int page, double dpiX, double dpiY) const;

private:
    const PreparedReport& m_report;
    std::vector<QFont> m_fonts;
    std::vector<QFontMetricsF> m_metrics;
};
