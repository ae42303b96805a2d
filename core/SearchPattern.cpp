#include "SearchPattern.h"

#include "data/SqlDialect.h"

QString containsPattern(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

QString codeContainsCondition(const SqlDialect& dialect, const QString& column, const QString& text,
                              QVariantList& params)
{
    if (text.isEmpty())
        return u'(' + column + QStringLiteral(" IS NOT NULL)");
    params << containsPattern(text);
    return u'(' + dialect.caselessLike(column) + u')';
}
