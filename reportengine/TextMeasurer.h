#pragma once

#include "MemoStyle.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringList>

// Measures and wraps memo texts in report units. Fonts are sized in pixels,
// so the figures do not depend on the screen or the printer, and hinting is
// off so a line measured here fits when painted at any resolution.
class TextMeasurer
{
public:
    static QFont fontOf(const MemoStyle& style);

    // What a line break in a text becomes: a new line where the memo grows
    // to show every line, a blank where it cannot, so that the words after
    // it are not lost below the memo's foot.
    enum class Breaks { NewLine, Blank };

    // The text's lines at the width: line breaks as asked, tabs as blanks,
    // words wrapped, a word longer than the width broken. A line no wider
    // than maxWidth stays whole: a heading that fills its box to the frame
    // is better whole than cut.
    QStringList wrap(const QString& text, const MemoStyle& style, double width, double maxWidth = 0,
                     Breaks breaks = Breaks::NewLine);
    double lineSpacing(const MemoStyle& style);
    double width(const QString& line, const MemoStyle& style) { return metrics(style).horizontalAdvance(line); }

private:
    const QFontMetricsF& metrics(const MemoStyle& style);

    QHash<QString, QFontMetricsF> m_metrics;
};
