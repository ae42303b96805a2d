#include "TextMeasurer.h"

#include <QTextLayout>
#include <algorithm>

QFont TextMeasurer::fontOf(const MemoStyle& style)
{
    QFont font(style.fontName);
    font.setPixelSize(style.fontHeight);
    font.setBold(style.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

const QFontMetricsF& TextMeasurer::metrics(const MemoStyle& style)
{
    const QString key = QStringLiteral("%1/%2/%3").arg(style.fontName).arg(style.fontHeight).arg(style.bold);
    auto it = m_metrics.find(key);
    if (it == m_metrics.end())
        it = m_metrics.insert(key, QFontMetricsF(fontOf(style)));
    return *it;
}

double TextMeasurer::lineSpacing(const MemoStyle& style)
{
    return metrics(style).lineSpacing();
}

QStringList TextMeasurer::wrap(const QString& text, const MemoStyle& style, double width, double maxWidth,
                               Breaks breaks)
{
    QStringList lines;
    if (text.isEmpty())
        return lines;
    const QFontMetricsF& fm = metrics(style);
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    // A tab has no stop to go to in a memo: painted, it hid the rest of its line.
    normalised.replace(u'\t', u' ');
    if (breaks == Breaks::Blank)
        normalised.replace(u'\n', u' ');
    const QStringList paragraphs = normalised.split(u'\n');
    for (const QString& paragraph : paragraphs) {
        if (fm.horizontalAdvance(paragraph) <= std::max(width, maxWidth)) {
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
