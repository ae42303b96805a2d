#pragma once

#include "TextSegment.h"

#include <QString>
#include <vector>

// A memo's text, parsed once. A template's own text mixes words with
// [DataSet."Field"], [Line], [Page#] and [Date]; a text set at run time is
// literal, so a value such as "Иванов [ст.]" prints as it stands.
class MemoText
{
public:
    MemoText() = default;
    static MemoText literal(const QString& text);
    static MemoText expression(const QString& text);

    const QString& source() const { return m_source; }
    bool isLiteral() const { return m_literal; }
    const std::vector<TextSegment>& segments() const { return m_segments; }

private:
    QString m_source;
    bool m_literal = true;
    std::vector<TextSegment> m_segments;
};
