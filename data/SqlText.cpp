#include "SqlText.h"

#include <QRegularExpression>

namespace sqltext {

namespace {

const QString kIdentifier = QStringLiteral("(?:\"(?:[^\"]|\"\")+\"|\\[[^\\]]+\\]|`[^`]+`|[\\p{L}_][\\p{L}\\p{N}_$]*)");

QString unquote(const QString& name)
{
    if (name.size() >= 2 && name.startsWith(u'"'))
        return name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    if (name.size() >= 2 && (name.startsWith(u'[') || name.startsWith(u'`')))
        return name.mid(1, name.size() - 2);
    return name;
}

} // namespace

QString topLevel(const QString& sql)
{
    QString out = sql;
    int depth = 0;
    bool inText = false;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c == u'\'')
            inText = !inText; // a doubled quote toggles twice
        else if (!inText && c == u'(')
            ++depth;
        else if (!inText && c == u')')
            depth = std::max(0, depth - 1);
        else if (inText || depth > 0)
            out[i] = u' ';
    }
    return out;
}

QString singleTable(const QString& statement)
{
    const QString sql = topLevel(statement);
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+[\\[\"`]?(\\w+)[\\]\"`]?"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression clause(QStringLiteral("\\b(WHERE|GROUP|HAVING|ORDER|LIMIT|WINDOW)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression several(QStringLiteral(",|\\bJOIN\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression compound(QStringLiteral("\\b(UNION|INTERSECT|EXCEPT)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(sql);
    if (!m.hasMatch() || compound.match(sql).hasMatch())
        return {};
    QString sources = sql.mid(m.capturedStart());
    const auto end = clause.match(sources);
    if (end.hasMatch())
        sources.truncate(end.capturedStart());
    if (several.match(sources).hasMatch())
        return {};
    return m.captured(1);
}

bool hasLimit(const QString& sql)
{
    static const QRegularExpression limit(QStringLiteral("\\bLIMIT\\b"), QRegularExpression::CaseInsensitiveOption);
    return limit.match(topLevel(sql)).hasMatch();
}

QStringList splitList(const QString& list)
{
    const QString top = topLevel(list);
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= top.size(); ++i) {
        if (i == top.size() || top.at(i) == u',') {
            parts << list.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    return parts;
}

QString columnName(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(?:%1\\s*\\.\\s*)?(%1)\\s*$").arg(kIdentifier),
                                         QRegularExpression::UseUnicodePropertiesOption);
    const auto m = form.match(text);
    return m.hasMatch() ? unquote(m.captured(1)) : QString();
}

} // namespace sqltext
