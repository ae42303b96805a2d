#pragma once

#include "MemoStyle.h"
#include "PreparedPage.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <vector>

// The built pages of a report, ready for preview, print, PDF and RTF: the
// paper, the pages and the styles their items refer to.
class PreparedReport
{
public:
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paperSize;  // report units
    QMarginsF margins; // report units
    std::vector<PreparedPage> pages;

    int styleIndex(const MemoStyle& style);
    const MemoStyle& style(int index) const { return m_styles.at(static_cast<size_t>(index)); }
    const std::vector<MemoStyle>& styles() const { return m_styles; }

    // Every item's text in page order, top to bottom and left to right.
    QStringList texts() const;

private:
    std::vector<MemoStyle> m_styles;
};
