#include "KeysetOrder.h"

#include "SqlDialect.h"
#include "SqlText.h"

#include <QRegularExpression>

namespace {

bool containsName(const QStringList& names, const QString& name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

// One ORDER BY term: a column, an optional collation and direction.
std::optional<KeysetOrder::Term> parseTerm(const QString& text)
{
    static const QRegularExpression tail(
        QStringLiteral("^(.*?)(?:\\s+COLLATE\\s+(\\w+|\"[^\"]+\"))?(?:\\s+(ASC|DESC))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = tail.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString column = sqltext::columnName(m.captured(1));
    if (column.isEmpty())
        return std::nullopt;
    return KeysetOrder::Term{column, m.captured(2), m.captured(3).compare(u"DESC", Qt::CaseInsensitive) == 0};
}

// The statement's own terms and the position its ORDER BY starts at (the
// statement's length when it has none); nullopt when the order is not one
// of result columns.
std::optional<std::pair<qsizetype, QList<KeysetOrder::Term>>> statementOrder(const QString& sql)
{
    if (sqltext::hasLimit(sql))
        return std::nullopt;
    const QString top = sqltext::topLevel(sql);
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch last;
    for (auto it = orderBy.globalMatch(top); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return std::pair{sql.size(), QList<KeysetOrder::Term>()};
    QList<KeysetOrder::Term> terms;
    for (const QString& text : sqltext::splitList(sql.mid(last.capturedEnd()))) {
        const auto term = parseTerm(text);
        if (!term)
            return std::nullopt;
        terms << *term;
    }
    return std::pair{last.capturedStart(), terms};
}

// The names of the result's columns, and whether the table's key is among
// them as itself (not an alias).
bool resultColumns(const QString& sql, const QStringList& tableColumns, const QString& key, QStringList& names)
{
    const QString top = sqltext::topLevel(sql);
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+(?:(?:DISTINCT|ALL)\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression from(QStringLiteral("\\bFROM\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression alias(QStringLiteral("\\sAS\\s+(\\S+)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression all(QStringLiteral("^(?:\\S+\\s*\\.\\s*)?\\*$"));
    const auto h = head.match(top);
    const auto f = from.match(top, h.capturedEnd());
    if (!h.hasMatch() || !f.hasMatch())
        return false;
    bool hasKey = false;
    for (const QString& item : sqltext::splitList(sql.mid(h.capturedEnd(), f.capturedStart() - h.capturedEnd()))) {
        if (all.match(item).hasMatch()) {
            names << tableColumns;
            hasKey = hasKey || containsName(tableColumns, key);
            continue;
        }
        const QString plain = sqltext::columnName(item);
        if (!plain.isEmpty()) {
            names << plain;
            hasKey = hasKey || plain.compare(key, Qt::CaseInsensitive) == 0;
            continue;
        }
        const auto a = alias.match(item);
        const QString name = a.hasMatch() ? sqltext::columnName(a.captured(1)) : QString();
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return false; // something else under the key's name
        if (!name.isEmpty())
            names << name;
    }
    return hasKey;
}

} // namespace

std::optional<KeysetOrder> KeysetOrder::of(const QString& sql, const QString& clientOrder, const QString& table,
                                           const QStringList& tableColumns, const QString& key,
                                           const SqlDialect& dialect)
{
    if (table.isEmpty() || !containsName(tableColumns, key))
        return std::nullopt;
    QStringList names;
    if (!resultColumns(sql, tableColumns, key, names))
        return std::nullopt;
    const auto own = statementOrder(sql);
    if (!own)
        return std::nullopt;
    QList<Term> wanted;
    if (!clientOrder.isEmpty()) {
        const auto client = parseTerm(clientOrder);
        if (!client)
            return std::nullopt;
        wanted << *client;
    }
    wanted << own->second;
    wanted << Term{key, {}, false};

    KeysetOrder order;
    order.m_dialect = &dialect;
    order.m_rows = sql.left(own->first).trimmed();
    for (const Term& t : wanted) {
        if (!containsName(names, t.column))
            return std::nullopt;
        bool seen = false; // a later term on the same column never decides
        for (const Term& kept : std::as_const(order.m_terms))
            seen = seen || kept.column.compare(t.column, Qt::CaseInsensitive) == 0;
        if (seen)
            continue;
        order.m_terms << t;
        if (t.column.compare(key, Qt::CaseInsensitive) == 0)
            break; // the key is unique: nothing after it orders anything
    }
    return order;
}

QString KeysetOrder::term(const Term& t) const
{
    QString s = m_dialect->quoteIdentifier(t.column);
    if (!t.collation.isEmpty())
        s += QStringLiteral(" COLLATE ") + t.collation;
    return s;
}

QString KeysetOrder::orderBy() const
{
    QStringList parts;
    for (const Term& t : m_terms)
        parts << term(t) + (t.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return parts.join(QStringLiteral(", "));
}

QString KeysetOrder::ordered() const
{
    return QStringLiteral("SELECT * FROM (%1) AS keyset_rows ORDER BY %2").arg(m_rows, orderBy());
}

QString KeysetOrder::firstPage() const
{
    return ordered() + QStringLiteral(" LIMIT ?");
}

QString KeysetOrder::nextPage(const QVariantList& last) const
{
    return QStringLiteral("SELECT * FROM (%1) AS keyset_rows WHERE %2 ORDER BY %3 LIMIT ?")
        .arg(m_rows, after(last, nullptr), orderBy());
}

QVariantList KeysetOrder::afterValues(const QVariantList& last) const
{
    QVariantList values;
    after(last, &values);
    return values;
}

// Rows after last in this order: equal on the first k-1 terms and after it
// on the k-th, for each k. A NULL sorts below every value where the engine
// puts NULLs low, so it needs IS NULL / IS NOT NULL rather than a comparison.
QString KeysetOrder::after(const QVariantList& last, QVariantList* values) const
{
    const bool nullsLow = m_dialect->nullsSortLow();
    QStringList alternatives;
    QStringList equalSoFar;
    QVariantList equalValues;
    for (qsizetype k = 0; k < m_terms.size(); ++k) {
        const Term& t = m_terms.at(k);
        const QVariant& v = last.value(k);
        const QString col = term(t);
        const bool nullFirst = nullsLow != t.descending; // NULLs come before every value in this term
        QString beyond;
        QVariantList beyondValues;
        if (v.isNull()) {
            if (nullFirst)
                beyond = col + QStringLiteral(" IS NOT NULL");
        } else {
            beyond = col + (t.descending ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
            if (!nullFirst)
                beyond = u'(' + beyond + QStringLiteral(" OR ") + col + QStringLiteral(" IS NULL)");
            beyondValues << v;
        }
        if (!beyond.isEmpty()) {
            alternatives << u'(' + QStringList(equalSoFar + QStringList{beyond}).join(QStringLiteral(" AND ")) + u')';
            if (values)
                *values << equalValues << beyondValues;
        }
        if (v.isNull()) {
            equalSoFar << col + QStringLiteral(" IS NULL");
        } else {
            equalSoFar << col + QStringLiteral(" = ?");
            equalValues << v;
        }
    }
    return alternatives.isEmpty() ? QStringLiteral("1=0") : u'(' + alternatives.join(QStringLiteral(" OR ")) + u')';
}
