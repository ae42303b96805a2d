#pragma once

#include "FieldKind.h"
#include "Select.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <optional>
#include <vector>

class Connection;
class QSqlQuery;
class Statement;

// A result set on the connection: the rows of a statement description (or,
// read-only, of a statement text) with bound values, fetched page by page as
// they are needed, a current row, and edits written at once
// to the row's table by its key. No statement is kept open between pages, so
// another copy of the program is never held up by an idle grid.
class Query : public QObject
{
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    explicit Query(Connection& connection, QObject* parent = nullptr);

    Connection& connection() const { return m_db; }

    // Replaces the statement; closes the result first. Rows of a description
    // page by key and can be written back to its table when they hold its
    // key; rows of a text are read-only and page by offset.
    void setStatement(const Select& statement);
    void setSql(const QString& sql, const QVariantList& params = {});
    const std::optional<Select>& statement() const { return m_select; }
    const QString& sql() const { return m_sql; }
    const QVariantList& params() const { return m_params; }

    void open();
    // Opens an empty result on table without running a statement: the fields
    // are the table's columns. Rows may be appended; reopening it reads no row.
    void openEmpty(const QString& table);
    void close();
    void reopen();
    bool isOpen() const { return m_open; }

    // Rows
    int fetchedCount() const { return static_cast<int>(m_rows.size()); }
    bool canFetchMore() const { return m_open && !m_atEnd; }
    void fetchMore();
    // Every row of the result (counted by the engine when not all are fetched).
    int recordCount();
    bool isEmpty() const { return m_rows.empty(); }

    // Current row: -1 when the result is empty or closed.
    int recNo() const { return m_cur; }
    bool setRecNo(int row);
    void first();
    void next();
    bool eof() const { return m_eof || m_rows.empty(); }

    // Fields of the result
    const QStringList& fieldNames() const { return m_fields; }
    int fieldIndex(const QString& field) const; // -1 when absent; ignores case
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }
    FieldKind fieldKind(int column) const { return m_kinds.value(column, FieldKind::Text); }
    const QString& tableName() const { return m_table; }

    QVariant value(int row, int column) const;
    // The current row's fields by name; empty without a current row.
    QVariantMap currentValues() const;
    QVariant value(const QString& field) const; // of the current row
    QString text(const QString& field) const;
    bool boolean(const QString& field) const;
    qint64 integer(const QString& field) const;
    double number(const QString& field) const;
    QDate date(const QString& field) const;
    QTime time(const QString& field) const;
    QDateTime dateTime(const QString& field) const;
    QByteArray blob(const QString& field) const;

    // Editing the current row; post() writes it at once by its key.
    State state() const { return m_state; }
    void append();
    void edit();
    void setValue(const QString& field, const QVariant& value);
    void post();
    void cancel();
    void remove();
    // A row another writer has just inserted, placed first and made current
    // without reading the result again: for a result ordered newest first.
    // values holds the row's fields by name (any letter case); fields it
    // lacks stay empty. The caller knows the row belongs first.
    void insertOnTop(const QVariantMap& values);
    // Reads the current row again from its table (another copy of the
    // program may have changed it). Throws when the row is gone.
    void refreshCurrent();
    // The same inside a write transaction, keeping other desks from changing
    // the row until the transaction ends.
    void lockCurrent();
    // Makes the first row whose field equals value current.
    bool locate(const QString& field, const QVariant& value);
    // The first row whose field equals value, fetching as far as needed but
    // looking at no more than limit rows (all when negative); -1 when none.
    int rowOf(const QString& field, const QVariant& value, int limit = -1);

    // Client sort, placed before the statement's own order; holds until the
    // result is closed. Naming no field of the result changes nothing and
    // answers false.
    bool setSort(const QString& field, bool descending);
    // The same from its saved text form, "Field ASC" or "Field DESC"; a text
    // of any other form answers false.
    bool setSort(const QString& sortText);
    const QString& sort() const { return m_sort; }
    // The order pages continue in, the key last; empty when the result is
    // paged by offset (a text, a limit, no key among its columns).
    const QList<OrderTerm>& pageOrder() const { return m_keyset; }

    static std::optional<bool> parseBool(const QVariant& value);

signals:
    void reopened();
    void rowsAboutToBeAdded(int first, int last);
    void rowsAdded();
    void rowAboutToBeRemoved(int row);
    void rowRemoved();
    void rowChanged(int row);
    void currentChanged();

private:
    using Row = QList<QVariant>;

    void load();
    void fetchPage(int count);
    void chooseOrder();
    Statement runPage(int count);
    int column(const QString& field) const; // throws when absent
    const Row* currentRow() const;
    Row readRowByKey(const QVariant& key, bool lock = false);
    // The result's row from an engine record holding some of its fields; the
    // others are taken from fallback.
    Row rowFrom(const QSqlQuery& record, const Row& fallback) const;
    void readCurrent(bool lock);
    int keyColumn() const;
    void requireTable() const;
    void resetRows();

    Connection& m_db;
    std::optional<Select> m_select;
    QString m_sql;
    QVariantList m_params;
    QString m_sort;
    std::optional<OrderTerm> m_clientTerm;
    bool m_open = false;
    QStringList m_fields;
    QList<FieldKind> m_kinds;
    QString m_table;
    std::vector<Row> m_rows;
    bool m_atEnd = false;
    int m_engineEnd = 0; // result rows up to the last one read from the engine
    // Pages continue after the last row read, by its values in the order's
    // columns (the key last); without such an order, by the count of rows read.
    QList<OrderTerm> m_keyset;
    QList<int> m_termColumns;
    QVariantList m_lastTerms;
    // Keys of the cached rows, kept once this result has inserted a row while
    // not all were fetched (the engine then shows that row again at its
    // place), and where rows can move in the order.
    bool m_dedupe = false;
    QSet<qint64> m_keys;
    int m_cur = -1;
    bool m_eof = true;
    State m_state = State::Browse;
    Row m_buffer;
    QSet<int> m_modified;
    std::optional<int> m_count; // rows in the engine, when counted
};
