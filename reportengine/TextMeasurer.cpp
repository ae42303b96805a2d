#include "TextMeasurer.h"

#include <QTextLayout>
#include <algorithm>

namespace {
constexpr qsizetype kWidthsKept = 8192;
}

QFont TextMeasurer::fontOf(const MemoStyle& style)
{
    QFont font(style.fontName);
    font.setPixelSize(style.fontHeight);
    font.setBold(style.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TextMeasurer::Metrics& TextMeasurer::find(const MemoStyle& style)
{
    const auto same = [&style](const Metrics& m) {
        return m.fontHeight == style.fontHeight && m.bold == style.bold && m.fontName == style.fontName;
    };
    if (m_last < m_metrics.size() && same(m_metrics[m_last]))
        return m_metrics[m_last];
    for (m_last = 0; m_last < m_metrics.size(); ++m_last) {
        if (same(m_metrics[m_last]))
            return m_metrics[m_last];
    }
    m_metrics.push_back({style.fontName, style.fontHeight, style.bold, QFontMetricsF(fontOf(style)), {}});
    return m_metrics.back();
}

double TextMeasurer::advance(Metrics& m, const QString& text)
{
    if (const auto it = m.widths.constFind(text); it != m.widths.constEnd())
        return *it;
    // Unique texts (keys, notes) would only grow it: kept to a bounded size.
    if (m.widths.size() >= kWidthsKept)
        m.widths.clear();
    const double width = m.metrics.horizontalAdvance(text);
    m.widths.insert(text, width);
    return width;
}

double TextMeasurer::lineSpacing(const MemoStyle& style)
{
    return metrics(style).lineSpacing();
}

QStringList TextMeasurer::wrap(const QString& text, const MemoStyle& style, double width, double maxWidth,
                               Breaks breaks, double* singleWidth)
{
    QStringList lines;
    if (singleWidth)
        *singleWidth = -1;
    if (text.isEmpty())
        return lines;
    Metrics& m = find(style);
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    // A tab has no stop to go to in a memo: painted, it hid the rest of its line.
    normalised.replace(u'\t', u' ');
    if (breaks == Breaks::Blank)
        normalised.replace(u'\n', u' ');
    const QStringList paragraphs = normalised.split(u'\n');
    for (const QString& paragraph : paragraphs) {
        const double measured = advance(m, paragraph);
        if (measured <= std::max(width, maxWidth)) {
            if (singleWidth && paragraphs.size() == 1)
                *singleWidth = measured;
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, fontOf(style));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (part.endsWith(u' '))
                part.chop(1);
            lines << part;
        }
        layout.endLayout();
    }
    return lines;
}
