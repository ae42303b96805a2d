#include "TableRows.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "data/DbError.h"

#include <QSet>

TableRows::TableRows(Connection& db, const ExportTable& table)
    : m_db(db)
    , m_table(table)
{
}

qint64 TableRows::count()
{
    return m_db.count(m_table.select);
}

bool TableRows::forEach(const std::function<bool(const QVariantList&)>& row)
{
    const SqlDialect& d = m_db.dialect();
    QList<OrderTerm> order = m_table.order.isEmpty() ? m_table.select.keysetOrder({}, col::Key) : m_table.order;
    if (order.last().column.compare(col::Key, Qt::CaseInsensitive) != 0)
        order << OrderTerm{col::Key, false, {}}; // each page starts after exactly one row

    // Only what the file shows and what the pages continue by: never the photos.
    QStringList names;
    for (const ExportColumn& c : m_table.columns)
        names << c.field;
    const qsizetype shown = names.size();
    QList<int> termColumns;
    for (const OrderTerm& t : order) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < names.size() && at < 0; ++i) {
            if (names.at(i).compare(t.column, Qt::CaseInsensitive) == 0)
                at = i;
        }
        if (at < 0) {
            at = names.size();
            names << t.column;
        }
        termColumns << int(at);
    }
    QHash<QString, FieldKind> kinds;
    for (const TableColumn& c : m_db.columns(m_table.select.table()))
        kinds.insert(c.name.toLower(), c.kind);
    Select select = m_table.select;
    select.columns(names);
    const int keyColumn = termColumns.last();
    const bool dedupe = order.size() > 1;
    QSet<qint64> given;

    QVariantList last;
    for (;;) {
        QVariantList params = select.params();
        QString sql;
        if (last.isEmpty()) {
            sql = select.firstPage(d, order);
        } else {
            sql = select.pageAfter(d, order, last);
            params << Select::afterValues(d, order, last);
        }
        params << kPage;
        std::vector<QVariantList> page;
        page.reserve(kPage);
        {
            Statement q = m_db.run(sql, params);
            while (q->next()) {
                QVariantList values;
                values.reserve(names.size());
                for (int i = 0; i < names.size(); ++i)
                    values << d.fromEngine(q->value(i));
                page.push_back(std::move(values));
            }
            q->finish(); // no snapshot is held while the file is written
        }
        if (page.empty())
            return true;
        const QVariantList& end = page.back();
        last.clear();
        for (int i = 0; i < order.size(); ++i)
            last << d.toStorage(kinds.value(order.at(i).column.toLower(), FieldKind::Text), end.at(termColumns.at(i)));
        for (QVariantList& values : page) {
            if (dedupe) {
                const qint64 key = values.at(keyColumn).toLongLong();
                if (given.contains(key))
                    continue;
                given.insert(key);
            }
            values.resize(shown);
            if (!row(values))
                return false;
        }
        if (int(page.size()) < kPage)
            return true;
    }
}
