#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class SqlDialect;

// The order of a result as columns of the result ending with the table's
// key, so that the next page is "the rows after the last one read". Rows
// another desk inserts or deletes between two pages then neither repeat nor
// hide a row, as they would with an offset.
class KeysetOrder
{
public:
    struct Term {
        QString column;
        QString collation; // empty: the column's own
        bool descending = false;
    };

    // The order of sql, with clientOrder ("Field ASC", a dialect order term)
    // before the statement's own terms. Empty when the order cannot be
    // continued by key: several tables, no key among the result's columns,
    // an order on an expression, a LIMIT of its own.
    static std::optional<KeysetOrder> of(const QString& sql, const QString& clientOrder, const QString& table,
                                         const QStringList& tableColumns, const QString& key,
                                         const SqlDialect& dialect);

    const QList<Term>& terms() const { return m_terms; }
    // The statement without its ORDER BY: what is counted.
    const QString& rows() const { return m_rows; }
    // The whole result in this order.
    QString ordered() const;
    // The first page: binds the statement's values, then the row limit.
    QString firstPage() const;
    // The page after the row whose term values are last: binds the
    // statement's values, then afterValues(last), then the row limit.
    QString nextPage(const QVariantList& last) const;
    QVariantList afterValues(const QVariantList& last) const;

private:
    QString orderBy() const;
    QString after(const QVariantList& last, QVariantList* values) const;
    QString term(const Term& t) const;

    const SqlDialect* m_dialect = nullptr;
    QString m_rows;
    QList<Term> m_terms;
};
