#include "MemoText.h"

#include <QRegularExpression>

namespace {

TextSegment parseExpression(const QString& inner)
{
    TextSegment s;
    s.text = inner;
    const QString e = inner.trimmed();
    if (e.compare(QLatin1String("Line"), Qt::CaseInsensitive) == 0) {
        s.kind = TextSegment::Kind::Line;
        return s;
    }
    if (e.compare(QLatin1String("Page#"), Qt::CaseInsensitive) == 0) {
        s.kind = TextSegment::Kind::PageNumber;
        return s;
    }
    if (e.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0) {
        s.kind = TextSegment::Kind::Date;
        return s;
    }
    static const QRegularExpression field(QStringLiteral("^(\\w+)\\.(?:\"([^\"]+)\"|(\\w+))$"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    const auto m = field.match(e);
    if (m.hasMatch()) {
        s.kind = TextSegment::Kind::Field;
        s.dataSet = m.captured(1);
        s.field = m.captured(2).isEmpty() ? m.captured(3) : m.captured(2);
        return s;
    }
    s.kind = TextSegment::Kind::Unknown;
    return s;
}

void addLiteral(std::vector<TextSegment>& segments, const QString& text)
{
    if (text.isEmpty())
        return;
    if (!segments.empty() && segments.back().kind == TextSegment::Kind::Literal)
        segments.back().text += text;
    else
        segments.push_back({TextSegment::Kind::Literal, text, {}, {}});
}

} // namespace

MemoText MemoText::literal(const QString& text)
{
    MemoText t;
    t.m_source = text;
    t.m_literal = true;
    addLiteral(t.m_segments, text);
    return t;
}

MemoText MemoText::expression(const QString& text)
{
    MemoText t;
    t.m_source = text;
    t.m_literal = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'[', pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u']', open + 1);
        if (close < 0)
            break; // an unclosed bracket is a word like any other
        addLiteral(t.m_segments, text.mid(pos, open - pos));
        t.m_segments.push_back(parseExpression(text.mid(open + 1, close - open - 1)));
        pos = close + 1;
    }
    addLiteral(t.m_segments, text.mid(pos));
    return t;
}
