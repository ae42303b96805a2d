#include "SearchPattern.h"

#include "data/SqlDialect.h"

namespace {

QString escaped(const QString& text)
{
    QString result;
    result.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            result += u'\\';
        result += c;
    }
    return result;
}

} // namespace

QString containsPattern(const QString& text)
{
    return u'%' + escaped(text) + u'%';
}

QString startsWithPattern(const QString& text)
{
    return escaped(text) + u'%';
}

QString codeContainsCondition(const SqlDialect& dialect, const QString& column, const QString& text,
                              QVariantList& params)
{
    if (text.isEmpty())
        return u'(' + column + QStringLiteral(" IS NOT NULL)");
    params << containsPattern(text);
    return u'(' + dialect.caselessLike(column) + u')';
}
