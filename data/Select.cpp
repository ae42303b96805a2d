#include "Select.h"

#include "Columns.h"
#include "SqlDialect.h"

Select::Select(QString table)
    : m_table(std::move(table))
{
}

Select& Select::columns(const QStringList& names)
{
    m_columns = names;
    return *this;
}

Select& Select::where(const QString& condition, const QVariantList& values)
{
    m_conditions.append({condition, values});
    return *this;
}

Select& Select::whereEquals(const QString& column, const QVariant& value)
{
    return where(column + QStringLiteral(" = ?"), {value});
}

Select& Select::orderBy(const QString& column, bool descending)
{
    return orderBy(OrderTerm{column, descending, {}});
}

Select& Select::orderBy(const OrderTerm& term)
{
    m_order.append(term);
    return *this;
}

Select& Select::limit(int rows)
{
    m_limit = rows;
    return *this;
}

QVariantList Select::params() const
{
    QVariantList values;
    for (const Condition& c : m_conditions)
        values << c.values;
    return values;
}

bool Select::hasColumn(const QString& name) const
{
    for (const Lookup& l : m_lookups) {
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return m_columns.isEmpty() || m_columns.contains(name, Qt::CaseInsensitive);
}

QList<OrderTerm> Select::keysetOrder(const std::optional<OrderTerm>& clientTerm, const QString& key) const
{
    QList<OrderTerm> wanted;
    if (clientTerm)
        wanted << *clientTerm;
    wanted << m_order << OrderTerm{key, false, {}};
    QList<OrderTerm> terms;
    for (const OrderTerm& t : std::as_const(wanted)) {
        bool seen = false;
        for (const OrderTerm& kept : std::as_const(terms))
            seen = seen || kept.column.compare(t.column, Qt::CaseInsensitive) == 0;
        if (seen)
            continue;
        terms << t;
        if (t.column.compare(key, Qt::CaseInsensitive) == 0)
            break; // the key is unique: nothing after it orders anything
    }
    return terms;
}

namespace {

// An order term's column as written: by the select whose result it orders,
// which knows its looked-up columns, or else by its quoted name.
QString termColumn(const SqlDialect& d, const OrderTerm& t, const Select* select = nullptr)
{
    QString s = select ? select->columnText(d, t.column) : d.quoteIdentifier(t.column);
    if (!t.collation.isEmpty())
        s += QStringLiteral(" COLLATE ") + t.collation;
    return s;
}

// Rows after last in this order: equal on the first k-1 terms and after it
// on the k-th, for each k. A NULL sorts below every value where the engine
// puts NULLs low, so it needs IS NULL / IS NOT NULL rather than a comparison.
QString after(const SqlDialect& d, const QList<OrderTerm>& terms, const QVariantList& last, QVariantList* values,
              const Select* select = nullptr)
{
    const bool nullsLow = d.nullsSortLow();
    QStringList alternatives;
    QStringList equalSoFar;
    QVariantList equalValues;
    for (qsizetype k = 0; k < terms.size(); ++k) {
        const OrderTerm& t = terms.at(k);
        const QVariant& v = last.value(k);
        const QString col = termColumn(d, t, select);
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

QString orderOf(const SqlDialect& d, const QList<OrderTerm>& terms, const Select* select)
{
    QStringList parts;
    for (const OrderTerm& t : terms)
        parts << termColumn(d, t, select) + (t.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString orderText(const SqlDialect& d, const QList<OrderTerm>& terms)
{
    return orderOf(d, terms, nullptr);
}

QString Select::head(const SqlDialect& d) const
{
    QStringList names;
    for (const QString& c : m_columns)
        names << d.quoteIdentifier(c);
    if (names.isEmpty() && !m_lookups.isEmpty())
        names << QStringLiteral("*");
    for (const Lookup& l : m_lookups)
        names << columnText(d, l.name) + QStringLiteral(" AS ") + d.quoteIdentifier(l.name);
    return QStringLiteral("SELECT %1 FROM %2")
        .arg(names.isEmpty() ? QStringLiteral("*") : names.join(QStringLiteral(", ")), d.quoteIdentifier(m_table));
}

QString Select::whereClause(const QString& extra) const
{
    QStringList parts;
    for (const Condition& c : m_conditions)
        parts << u'(' + c.text + u')';
    if (!extra.isEmpty())
        parts << extra;
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

QString Select::ordered(const SqlDialect& d, const std::optional<OrderTerm>& clientTerm) const
{
    QList<OrderTerm> terms;
    if (clientTerm)
        terms << *clientTerm;
    terms << m_order;
    QString sql = head(d) + whereClause({});
    if (!terms.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + orderOf(d, terms, this);
    if (m_limit)
        sql += QStringLiteral(" LIMIT ") + QString::number(*m_limit);
    return sql;
}

QString Select::pagedByOffset(const SqlDialect& d, const std::optional<OrderTerm>& clientTerm) const
{
    if (m_limit) // the page cuts the ordered, limited rows
        return QStringLiteral("SELECT * FROM (%1) AS limited_rows LIMIT ? OFFSET ?").arg(ordered(d, clientTerm));
    return ordered(d, clientTerm) + QStringLiteral(" LIMIT ? OFFSET ?");
}

QString Select::firstPage(const SqlDialect& d, const QList<OrderTerm>& terms) const
{
    return head(d) + whereClause({}) + QStringLiteral(" ORDER BY ") + orderOf(d, terms, this)
        + QStringLiteral(" LIMIT ?");
}

QString Select::pageAfter(const SqlDialect& d, const QList<OrderTerm>& terms, const QVariantList& last) const
{
    return head(d) + whereClause(after(d, terms, last, nullptr, this)) + QStringLiteral(" ORDER BY ")
        + orderOf(d, terms, this) + QStringLiteral(" LIMIT ?");
}

QVariantList Select::afterValues(const SqlDialect& d, const QList<OrderTerm>& terms, const QVariantList& last)
{
    QVariantList values;
    after(d, terms, last, &values);
    return values;
}

QString Select::counted(const SqlDialect& d) const
{
    if (m_limit)
        return QStringLiteral("SELECT COUNT(*) FROM (%1) AS counted_rows").arg(ordered(d));
    return QStringLiteral("SELECT COUNT(*) FROM %1").arg(d.quoteIdentifier(m_table)) + whereClause({});
}

QString Select::largest(const SqlDialect& d, const QString& column) const
{
    return QStringLiteral("SELECT MAX(%1) FROM %2").arg(d.quoteIdentifier(column), d.quoteIdentifier(m_table))
        + whereClause({});
}

Update::Update(QString table)
    : m_table(std::move(table))
{
}

Update& Update::set(const QString& column, const QVariant& value)
{
    m_assignments.append({column, value, {}});
    return *this;
}

Update& Update::setFromColumn(const QString& column, const QString& source)
{
    m_assignments.append({column, {}, source});
    return *this;
}

Update& Update::where(const QString& condition, const QVariantList& values)
{
    m_conditions << u'(' + condition + u')';
    m_conditionValues << values;
    return *this;
}

Update& Update::whereEquals(const QString& column, const QVariant& value)
{
    return where(column + QStringLiteral(" = ?"), {value});
}

QString Update::text(const SqlDialect& d) const
{
    QStringList assigned;
    for (const Assignment& a : m_assignments)
        assigned << d.quoteIdentifier(a.column) + QStringLiteral(" = ")
                + (a.source.isEmpty() ? QStringLiteral("?") : d.quoteIdentifier(a.source));
    QString sql =
        QStringLiteral("UPDATE %1 SET %2").arg(d.quoteIdentifier(m_table), assigned.join(QStringLiteral(", ")));
    if (!m_conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + m_conditions.join(QStringLiteral(" AND "));
    return sql;
}

QVariantList Update::params() const
{
    QVariantList values;
    for (const Assignment& a : m_assignments) {
        if (a.source.isEmpty())
            values << a.value;
    }
    return values << m_conditionValues;
}

// ---- Looked-up columns

Select& Select::lookup(const Lookup& lookup)
{
    m_lookups.append(lookup);
    return *this;
}

QString Select::columnText(const SqlDialect& d, const QString& name) const
{
    const Lookup* found = nullptr;
    for (const Lookup& l : m_lookups) {
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            found = &l;
    }
    if (!found)
        return d.quoteIdentifier(name);
    // Each match finds a key through the index on its column; the value is
    // read from the row of the first key found. Binds nothing.
    const QString table = d.quoteIdentifier(found->table);
    const QString key = d.quoteIdentifier(col::Key);
    const QString by = d.quoteIdentifier(m_table) + u'.' + d.quoteIdentifier(found->by);
    QStringList keys;
    for (const QString& match : found->matches) {
        keys << QStringLiteral(
                    "(SELECT lookup_match.%1 FROM %2 AS lookup_match WHERE %3 ORDER BY lookup_match.%1 LIMIT 1)")
                    .arg(key, table, d.caselessSame(QStringLiteral("lookup_match.") + d.quoteIdentifier(match), by));
    }
    const QString chosen = keys.size() == 1 ? keys.first() : QStringLiteral("COALESCE(%1)").arg(keys.join(u','));
    return QStringLiteral("(SELECT lookup_row.%1 FROM %2 AS lookup_row WHERE lookup_row.%3 = %4)")
        .arg(d.quoteIdentifier(found->column), table, key, chosen);
}
