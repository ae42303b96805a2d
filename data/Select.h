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
