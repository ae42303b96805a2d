#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class SqlDialect;

// One term of a result's order, by a column of the table.
struct OrderTerm {
    QString column;
    bool descending = false;
    QString collation; // empty: the column's own
    bool operator==(const OrderTerm&) const = default;
};

// The rows of one table a window lists: which columns, which conditions with
// their bound values, in which order. The data layer renders the statements
// it needs (pages, count, a client sort) from this, never from text.
class Select
{
public:
    explicit Select(QString table = {});

    // Result columns; none given: every column of the table.
    Select& columns(const QStringList& names);
    // A condition written by the program with '?' for each of its values;
    // conditions are joined with AND.
    Select& where(const QString& condition, const QVariantList& values = {});
    // column = value, bound.
    Select& whereEquals(const QString& column, const QVariant& value);
    Select& orderBy(const QString& column, bool descending = false);
    Select& orderBy(const OrderTerm& term);
    // At most this many rows.
    Select& limit(int rows);

    const QString& table() const { return m_table; }
    const QStringList& resultColumns() const { return m_columns; }
    const QList<OrderTerm>& order() const { return m_order; }
    std::optional<int> rowLimit() const { return m_limit; }
    // The bound values of the conditions, in their order.
    QVariantList params() const;
    bool hasColumn(const QString& name) const; // ignores letter case; true for every column when none given

    // The order with clientTerm (when given) before the statement's own
    // terms and the key appended: a later term on a column already ordered
    // never decides, nor does any after the key.
    QList<OrderTerm> keysetOrder(const std::optional<OrderTerm>& clientTerm, const QString& key) const;

    // Statement texts. Each binds params() first, then what it names.
    // The whole result in order (clientTerm before the own terms).
    QString ordered(const SqlDialect& d, const std::optional<OrderTerm>& clientTerm = {}) const;
    // Rows limit and offset of ordered(): binds limit, offset last.
    QString pagedByOffset(const SqlDialect& d, const std::optional<OrderTerm>& clientTerm) const;
    // The first rows in terms' order: binds the row count.
    QString firstPage(const SqlDialect& d, const QList<OrderTerm>& terms) const;
    // The rows after the one whose term values are last: binds
    // afterValues(last), then the row count.
    QString pageAfter(const SqlDialect& d, const QList<OrderTerm>& terms, const QVariantList& last) const;
    static QVariantList afterValues(const SqlDialect& d, const QList<OrderTerm>& terms, const QVariantList& last);
    QString counted(const SqlDialect& d) const;
    // The largest value of column among the rows (the order and limit do
    // not apply).
    QString largest(const SqlDialect& d, const QString& column) const;

    bool operator==(const Select&) const = default;

    // ---- Looked-up columns
    // A column of another table beside each row: `column` of the row of
    // `table` that the first of `matches` to find one picks (the lowest key
    // among equals), each comparing that column with this row's `by`
    // ignoring letter case. Read by the engine with every page, so it shows
    // the other row as stored now; read-only; it orders and pages like a
    // column of the table.
    struct Lookup {
        QString name; // as the result names it
        QString table;
        QString column;
        QString by;
        QStringList matches;
        bool operator==(const Lookup&) const = default;
    };
    Select& lookup(const Lookup& lookup);
    const QList<Lookup>& lookups() const { return m_lookups; }
    // A result column as the statement writes it: its quoted name, or the
    // lookup that makes it.
    QString columnText(const SqlDialect& d, const QString& name) const;

private:
    struct Condition {
        QString text;
        QVariantList values;
        bool operator==(const Condition&) const = default;
    };

    QString head(const SqlDialect& d) const;
    QString whereClause(const QString& extra) const;

    QString m_table;
    QStringList m_columns;
    QList<Condition> m_conditions;
    QList<OrderTerm> m_order;
    std::optional<int> m_limit;
    QList<Lookup> m_lookups;
};

// A change to the rows of one table: which columns take which bound values
// (or another column's value), under which conditions, joined with AND.
class Update
{
public:
    explicit Update(QString table);

    Update& set(const QString& column, const QVariant& value);
    // column takes the value of source in the same row.
    Update& setFromColumn(const QString& column, const QString& source);
    Update& where(const QString& condition, const QVariantList& values = {});
    Update& whereEquals(const QString& column, const QVariant& value);

    // Binds params().
    QString text(const SqlDialect& d) const;
    // The assigned values, then the conditions' values.
    QVariantList params() const;

private:
    struct Assignment {
        QString column;
        QVariant value;
        QString source; // set: the value is this column's
    };
    QString m_table;
    QList<Assignment> m_assignments;
    QStringList m_conditions;
    QVariantList m_conditionValues;
};

// Order terms as the statement text writes them.
QString orderText(const SqlDialect& d, const QList<OrderTerm>& terms);
