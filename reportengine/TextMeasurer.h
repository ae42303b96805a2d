#pragma once

#include "MemoStyle.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>

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
    // is better whole than cut. singleWidth, when given, gets the width of
    // a text that stays one line as it is (else -1): measured once.
    QStringList wrap(const QString& text, const MemoStyle& style, double width, double maxWidth = 0,
                     Breaks breaks = Breaks::NewLine, double* singleWidth = nullptr);
    double lineSpacing(const MemoStyle& style);
    double width(const QString& line, const MemoStyle& style) { return advance(find(style), line); }

private:
    struct Metrics {
        QString fontName;
        int fontHeight;
        bool bold;
        QFontMetricsF metrics;
        // A report's columns repeat their values (dates, names, states):
        // a text is shaped once per font, not once per row.
        QHash<QString, double> widths;
    };
    Metrics& find(const MemoStyle& style);
    const QFontMetricsF& metrics(const MemoStyle& style) { return find(style).metrics; }
    static double advance(Metrics& m, const QString& text);

    // A report has a handful of fonts and asks for each several times a
    // row: a short list with the last one found tried first beats a hash of a
    // composed key.
    std::deque<Metrics> m_metrics; // references stay valid as it grows
    size_t m_last = 0;
};
