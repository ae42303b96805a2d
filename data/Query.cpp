#include "Query.h"

#include "Connection.h"
#include "DbError.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

constexpr int kFirstPage = 40; // a screenful: re-opening stays cheap
constexpr int kNextPage = 500;
const QString kKey = QStringLiteral("ID");

} // namespace

Query::Query(Connection& connection, QObject* parent)
    : QObject(parent)
    , m_db(connection)
{
}

void Query::setStatement(const Select& statement)
{
    close();
    m_select = statement;
    m_sql.clear();
    m_params = statement.params();
}

void Query::setSql(const QString& sql, const QVariantList& params)
{
    close();
    QString s = sql.trimmed();
    while (s.endsWith(u';'))
        s.chop(1);
    m_select.reset();
    m_sql = s;
    m_params = params;
}

void Query::open()
{
    if (m_open)
        return;
    m_sort.clear();
    m_clientTerm.reset();
    load();
}

void Query::openEmpty(const QString& table)
{
    close();
    m_select = Select(table).where(kKey + QStringLiteral("=0"));
    m_sql.clear();
    m_params.clear();
    m_table = table;
    m_fields.clear();
    m_kinds.clear();
    for (const TableColumn& c : m_db.columns(table)) {
        m_fields << c.name;
        m_kinds << c.kind;
    }
    if (m_fields.isEmpty())
        throw DbError(QStringLiteral("The table %1 does not exist").arg(table));
    m_atEnd = true;
    m_open = true;
    emit reopened();
    emit currentChanged();
}

void Query::close()
{
    const bool wasOpen = m_open || !m_rows.empty();
    resetRows();
    m_open = false;
    m_sort.clear();
    m_clientTerm.reset();
    m_fields.clear();
    m_kinds.clear();
    if (wasOpen) {
        emit reopened();
        emit currentChanged();
    }
}

void Query::reopen()
{
    m_open = false;
    m_sort.clear();
    m_clientTerm.reset();
    load();
}

void Query::resetRows()
{
    m_rows.clear();
    m_atEnd = false;
    m_engineEnd = 0;
    m_lastTerms.clear();
    m_dedupe = false;
    m_keys.clear();
    m_cur = -1;
    m_eof = true;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    m_count.reset();
}

void Query::load()
{
    m_open = false; // rows arrive as one reset, not as additions
    resetRows();
    m_fields.clear();
    m_kinds.clear();
    m_table = m_select ? m_select->table() : QString();
    try {
        chooseOrder();
        fetchPage(kFirstPage);
    } catch (...) {
        resetRows();
        m_open = false;
        emit reopened();
        emit currentChanged();
        throw;
    }
    m_open = true;
    m_cur = m_rows.empty() ? -1 : 0;
    m_eof = m_rows.empty();
    emit reopened();
    emit currentChanged();
}

void Query::chooseOrder()
{
    m_keyset.clear();
    if (!m_select || m_select->rowLimit() || !m_select->hasColumn(kKey))
        return;
    bool tableHasKey = false;
    for (const TableColumn& c : m_db.columns(m_table))
        tableHasKey = tableHasKey || c.name.compare(kKey, Qt::CaseInsensitive) == 0;
    if (!tableHasKey)
        return;
    const QList<OrderTerm> terms = m_select->keysetOrder(m_clientTerm, kKey);
    for (const OrderTerm& t : terms) {
        if (!m_select->hasColumn(t.column))
            return; // the page after a row needs the row's value in every term
    }
    m_keyset = terms;
    // Another desk may change a row's place in an order on other columns
    // (a tool issued), which would bring a row already shown again.
    m_dedupe = m_keyset.size() > 1;
}

Statement Query::runPage(int count)
{
    const SqlDialect& d = m_db.dialect();
    QVariantList params = m_params;
    if (m_keyset.isEmpty()) {
        params << count << m_engineEnd;
        if (m_select)
            return m_db.run(m_select->pagedByOffset(d, m_clientTerm), params);
        // The text is never looked into: it is the source of the rows.
        QString sql = QStringLiteral("SELECT * FROM (%1) AS text_rows").arg(m_sql);
        if (m_clientTerm)
            sql += QStringLiteral(" ORDER BY ") + orderText(d, {*m_clientTerm});
        return m_db.run(sql + QStringLiteral(" LIMIT ? OFFSET ?"), params);
    }
    if (m_lastTerms.isEmpty()) {
        params << count;
        return m_db.run(m_select->firstPage(d, m_keyset), params);
    }
    params << Select::afterValues(d, m_keyset, m_lastTerms) << count;
    return m_db.run(m_select->pageAfter(d, m_keyset, m_lastTerms), params);
}

void Query::fetchPage(int count)
{
    // Read before the page: the server drops a result another statement interrupts.
    QList<TableColumn> tableColumns;
    if (m_fields.isEmpty() && !m_table.isEmpty()) {
        tableColumns = m_db.columns(m_table);
        // A looked-up column holds what its column in the other table does.
        for (const Select::Lookup& l : m_select->lookups()) {
            for (const TableColumn& c : m_db.columns(l.table)) {
                if (c.name.compare(l.column, Qt::CaseInsensitive) == 0)
                    tableColumns.prepend({l.name, c.kind});
            }
        }
    }
    Statement q = runPage(count);
    if (m_fields.isEmpty()) {
        const QSqlRecord rec = q->record();
        for (int i = 0; i < rec.count(); ++i) {
            const QString name = rec.fieldName(i);
            m_fields << name;
            FieldKind kind = FieldKind::Text;
            bool found = false;
            for (const TableColumn& c : tableColumns) {
                if (c.name.compare(name, Qt::CaseInsensitive) == 0) {
                    kind = c.kind;
                    found = true;
                    break;
                }
            }
            if (!found) {
                switch (rec.field(i).metaType().id()) {
                case QMetaType::Int:
                case QMetaType::LongLong:
                    kind = FieldKind::Integer;
                    break;
                case QMetaType::Double:
                    kind = FieldKind::Real;
                    break;
                case QMetaType::QByteArray:
                    kind = FieldKind::Blob;
                    break;
                default:
                    break;
                }
            }
            m_kinds << kind;
        }
        if (m_table.isEmpty() || keyColumn() < 0)
            m_table.clear(); // without a key the rows cannot be written back
        m_termColumns.clear();
        if (!m_keyset.isEmpty()) {
            for (const OrderTerm& t : std::as_const(m_keyset))
                m_termColumns << fieldIndex(t.column);
            if (m_termColumns.contains(-1))
                throw DbError(QStringLiteral("The order of the result names a column it does not have"));
        }
    }
    const SqlDialect& d = m_db.dialect();
    std::vector<Row> page;
    page.reserve(count);
    const int n = static_cast<int>(m_fields.size());
    const int key = m_dedupe ? keyColumn() : -1;
    int read = 0;
    while (q->next()) {
        ++read;
        Row row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row.append(d.fromEngine(q->value(i)));
        if (!m_keyset.isEmpty() && read == count) {
            m_lastTerms.clear();
            for (int c : std::as_const(m_termColumns))
                m_lastTerms << d.toStorage(m_kinds.value(c), row.at(c)); // bound as the column's own type
        }
        if (key >= 0) {
            const qint64 k = row.at(key).toLongLong();
            if (m_keys.contains(k))
                continue; // already shown: inserted here, or moved down by such a row
            m_keys.insert(k);
        }
        page.push_back(std::move(row));
    }
    q->finish(); // ends the read: no snapshot is held between pages
    m_engineEnd += read;
    if (read < count)
        m_atEnd = true;
    if (page.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    if (m_open)
        emit rowsAboutToBeAdded(first, first + static_cast<int>(page.size()) - 1);
    for (Row& r : page)
        m_rows.push_back(std::move(r));
    if (m_open)
        emit rowsAdded();
}

void Query::fetchMore()
{
    if (canFetchMore())
        fetchPage(kNextPage);
}

int Query::recordCount()
{
    if (!m_open)
        return 0;
    if (m_atEnd)
        return fetchedCount();
    if (!m_count) {
        const QString sql = m_select ? m_select->counted(m_db.dialect())
                                     : QStringLiteral("SELECT COUNT(*) FROM (%1) AS counted_rows").arg(m_sql);
        m_count = m_db.scalar(sql, m_params).toInt();
    }
    return *m_count + (m_state == State::Insert ? 1 : 0);
}

bool Query::setRecNo(int row)
{
    if (row < 0)
        return false;
    while (row >= fetchedCount() && canFetchMore())
        fetchMore();
    if (row >= fetchedCount())
        return false;
    if (m_state != State::Browse && row != m_cur)
        post();
    m_cur = row;
    m_eof = false;
    emit currentChanged();
    return true;
}

void Query::first()
{
    if (m_rows.empty()) {
        m_eof = true;
        return;
    }
    setRecNo(0);
}

void Query::next()
{
    if (m_rows.empty() || !setRecNo(m_cur + 1))
        m_eof = true;
}

int Query::fieldIndex(const QString& field) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int Query::column(const QString& field) const
{
    const int c = fieldIndex(field);
    if (c < 0)
        throw DbError(QStringLiteral("Field '%1' not found").arg(field));
    return c;
}

int Query::keyColumn() const
{
    return fieldIndex(kKey);
}

const Query::Row* Query::currentRow() const
{
    if (m_state != State::Browse)
        return &m_buffer;
    if (m_cur < 0 || m_cur >= fetchedCount())
        return nullptr;
    return &m_rows[static_cast<size_t>(m_cur)];
}

QVariant Query::value(int row, int col) const
{
    if (row == m_cur && m_state != State::Browse)
        return m_buffer.value(col);
    if (row < 0 || row >= fetchedCount())
        return {};
    return m_rows[static_cast<size_t>(row)].value(col);
}

QVariantMap Query::currentValues() const
{
    QVariantMap values;
    if (const Row* row = currentRow()) {
        for (int c = 0; c < m_fields.size(); ++c)
            values.insert(m_fields.at(c), row->value(c));
    }
    return values;
}

QVariant Query::value(const QString& field) const
{
    const int c = column(field);
    const Row* row = currentRow();
    return row ? row->value(c) : QVariant();
}

QString Query::text(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? QString() : v.toString();
}

std::optional<bool> Query::parseBool(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok)
        return n != 0;
    const QString s = v.toString().trimmed();
    if (s.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

bool Query::boolean(const QString& field) const
{
    return parseBool(value(field)).value_or(false);
}

qint64 Query::integer(const QString& field) const
{
    return value(field).toLongLong();
}

double Query::number(const QString& field) const
{
    return value(field).toDouble();
}

QDate Query::date(const QString& field) const
{
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QTime Query::time(const QString& field) const
{
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::QTime)
        return v.toTime();
    const QString s = v.toString();
    const QString t = s.size() > 8 ? s.right(8) : s; // a date-time keeps its time at the end
    return QTime::fromString(t, QStringLiteral("hh:mm:ss"));
}

QDateTime Query::dateTime(const QString& field) const
{
    const QVariant v = value(field);
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    QDateTime dt = QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(v.toString(), Qt::ISODate);
    if (!dt.isValid())
        dt = QDateTime(date(field), QTime(0, 0));
    return dt;
}

QByteArray Query::blob(const QString& field) const
{
    return value(field).toByteArray();
}

void Query::requireTable() const
{
    if (!m_open)
        throw DbError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (m_table.isEmpty())
        throw DbError(QStringLiteral("This result cannot be changed: it has no single table with a key"));
}

void Query::append()
{
    requireTable();
    if (m_state != State::Browse)
        post();
    const int pos = m_rows.empty() ? 0 : m_cur + 1;
    Row row(m_fields.size());
    emit rowsAboutToBeAdded(pos, pos);
    m_rows.insert(m_rows.begin() + pos, row);
    emit rowsAdded();
    m_cur = pos;
    m_eof = false;
    m_buffer = row;
    m_modified.clear();
    m_state = State::Insert;
    emit currentChanged();
}

void Query::edit()
{
    requireTable();
    if (m_state != State::Browse)
        return;
    if (m_cur < 0)
        throw DbError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    m_buffer = m_rows[static_cast<size_t>(m_cur)];
    m_modified.clear();
    m_state = State::Edit;
}

void Query::setValue(const QString& field, const QVariant& value)
{
    if (m_state == State::Browse)
        throw DbError(QStringLiteral("Dataset not in edit or insert mode"));
    const int c = column(field);
    m_buffer[c] = m_db.dialect().toStorage(m_kinds.value(c), value);
    m_modified.insert(c);
    emit rowChanged(m_cur);
    emit currentChanged();
}

Query::Row Query::readRowByKey(const QVariant& key, bool lock)
{
    const auto& d = m_db.dialect();
    Statement q = m_db.run(
        QStringLiteral("SELECT * FROM %1 WHERE %2=?%3")
            .arg(d.quoteIdentifier(m_table), d.quoteIdentifier(kKey), lock ? d.lockRowSuffix() : QString()),
        {key});
    if (!q->next()) {
        q->finish();
        throw DbError(QStringLiteral("The record no longer exists; it may have been deleted by another user"));
    }
    Row row = rowFrom(*q, m_cur >= 0 ? m_rows[static_cast<size_t>(m_cur)] : Row());
    q->finish();
    return row;
}

Query::Row Query::rowFrom(const QSqlQuery& q, const Row& fallback) const
{
    const auto& d = m_db.dialect();
    const QSqlRecord rec = q.record();
    Row row(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i) {
        const int src = rec.indexOf(m_fields.at(i));
        row[i] = src >= 0 ? d.fromEngine(q.value(src)) : fallback.value(i);
    }
    return row;
}

void Query::post()
{
    if (m_state == State::Browse)
        return;
    const auto& d = m_db.dialect();
    const int key = keyColumn();
    QList<int> cols(m_modified.begin(), m_modified.end());
    std::sort(cols.begin(), cols.end());
    cols.removeAll(key);
    QVariant keyValue;
    Row inserted;
    if (m_state == State::Insert) {
        QStringList names, marks;
        QVariantList values;
        for (int c : cols) {
            names << d.quoteIdentifier(m_fields.at(c));
            marks << QStringLiteral("?");
            values << m_buffer.value(c);
        }
        // The new row comes back with its key and defaults in the same statement.
        const QString sql = names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING *").arg(d.quoteIdentifier(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                  .arg(d.quoteIdentifier(m_table), names.join(u','), marks.join(u','));
        Statement q = m_db.write(sql, values);
        if (!q->next()) {
            q->finish();
            throw DbError(QStringLiteral("The new record was not returned by the database"));
        }
        inserted = rowFrom(*q, m_buffer);
        q->finish();
        keyValue = inserted.value(key);
        if (m_count)
            ++*m_count;
    } else {
        keyValue = m_rows[static_cast<size_t>(m_cur)].value(key);
        if (!cols.isEmpty()) {
            QStringList sets;
            QVariantList values;
            for (int c : cols) {
                sets << d.quoteIdentifier(m_fields.at(c)) + QStringLiteral("=?");
                values << m_buffer.value(c);
            }
            values << keyValue;
            Statement q = m_db.write(QStringLiteral("UPDATE %1 SET %2 WHERE %3=?")
                                         .arg(d.quoteIdentifier(m_table), sets.join(u','), d.quoteIdentifier(kKey)),
                                     values);
            const int affected = q->numRowsAffected();
            q->finish();
            if (affected != 1)
                throw DbError(QStringLiteral("The record no longer exists; it may have been deleted by another user"));
        }
    }
    // A new row is as the engine returned it; a changed one is exactly what
    // was written; an unchanged one is checked to still exist.
    if (m_state == State::Insert)
        m_rows[static_cast<size_t>(m_cur)] = std::move(inserted);
    else
        m_rows[static_cast<size_t>(m_cur)] = cols.isEmpty() ? readRowByKey(keyValue) : m_buffer;
    if (m_state == State::Insert && !m_atEnd) {
        // The next pages may bring the new row again, or a row it pushed down.
        if (!m_dedupe) {
            m_dedupe = true;
            const int k = keyColumn();
            for (const Row& r : m_rows)
                m_keys.insert(r.at(k).toLongLong());
        } else {
            m_keys.insert(keyValue.toLongLong());
        }
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    emit rowChanged(m_cur);
    emit currentChanged();
}

void Query::cancel()
{
    if (m_state == State::Browse)
        return;
    const State was = m_state;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    if (was == State::Insert) {
        const int pos = m_cur;
        emit rowAboutToBeRemoved(pos);
        m_rows.erase(m_rows.begin() + pos);
        emit rowRemoved();
        m_cur = std::min(pos, fetchedCount() - 1);
        m_eof = m_rows.empty();
    } else {
        emit rowChanged(m_cur);
    }
    emit currentChanged();
}

void Query::remove()
{
    requireTable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    m_state = State::Browse;
    if (m_cur < 0)
        throw DbError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const auto& d = m_db.dialect();
    const QVariant keyValue = m_rows[static_cast<size_t>(m_cur)].value(keyColumn());
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(d.quoteIdentifier(m_table), d.quoteIdentifier(kKey)),
              {keyValue});
    const int pos = m_cur;
    emit rowAboutToBeRemoved(pos);
    m_rows.erase(m_rows.begin() + pos);
    // Gone from the engine's result too. Should the row have been inserted
    // beyond the rows read, the next page starts one early: dedupe covers it.
    if (m_engineEnd > 0)
        --m_engineEnd;
    if (m_dedupe)
        m_keys.remove(keyValue.toLongLong());
    if (m_count)
        --*m_count;
    emit rowRemoved();
    m_cur = std::min(pos, fetchedCount() - 1);
    m_eof = m_rows.empty();
    emit currentChanged();
}

void Query::insertOnTop(const QVariantMap& values)
{
    if (!m_open || m_state != State::Browse)
        throw DbError(QStringLiteral("Cannot insert a row into a result that is closed or being edited"));
    Row row(m_fields.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int c = fieldIndex(it.key());
        if (c >= 0)
            row[c] = it.value();
    }
    emit rowsAboutToBeAdded(0, 0);
    m_rows.insert(m_rows.begin(), std::move(row));
    // The engine's result has the row first as well: an offset moves by one,
    // a key continues after the last row read as before.
    ++m_engineEnd;
    if (m_dedupe) {
        const int k = keyColumn();
        m_keys.insert(m_rows.front().at(k).toLongLong());
    }
    if (m_count)
        ++*m_count;
    emit rowsAdded();
    m_cur = 0;
    m_eof = false;
    emit currentChanged();
}

void Query::refreshCurrent()
{
    readCurrent(false);
}

void Query::lockCurrent()
{
    readCurrent(true);
}

void Query::readCurrent(bool lock)
{
    requireTable();
    if (m_cur < 0)
        return;
    if (m_state != State::Browse)
        throw DbError(QStringLiteral("Cannot refresh a record that is being edited"));
    m_rows[static_cast<size_t>(m_cur)] = readRowByKey(m_rows[static_cast<size_t>(m_cur)].value(keyColumn()), lock);
    emit rowChanged(m_cur);
    emit currentChanged();
}

bool Query::locate(const QString& field, const QVariant& value)
{
    const int row = rowOf(field, value);
    return row >= 0 && setRecNo(row);
}

int Query::rowOf(const QString& field, const QVariant& value, int limit)
{
    const int c = fieldIndex(field);
    if (c < 0 || !m_open)
        return -1;
    QVariant wanted;
    try {
        wanted = m_db.dialect().toStorage(m_kinds.value(c), value);
    } catch (const DbError&) {
        return -1; // a value the column cannot hold is in no row
    }
    const bool numeric = m_kinds.value(c) == FieldKind::Integer || m_kinds.value(c) == FieldKind::Bool;
    for (int row = 0; limit < 0 || row < limit; ++row) {
        while (row >= fetchedCount() && canFetchMore())
            fetchMore(); // a page may bring only rows already shown
        if (row >= fetchedCount())
            return -1;
        const QVariant& v = m_rows[static_cast<size_t>(row)].at(c);
        const bool equal = numeric ? (!v.isNull() && !wanted.isNull() && v.toLongLong() == wanted.toLongLong())
                                   : (v.isNull() == wanted.isNull() && v.toString() == wanted.toString());
        if (equal)
            return row;
    }
    return -1;
}

bool Query::setSort(const QString& sortText)
{
    // A settings value, not a statement: a field's name, blanks, a direction.
    const QStringList parts = sortText.simplified().split(u' ');
    if (parts.size() != 2)
        return false;
    const QString& field = parts.at(0);
    const bool wordOnly = std::all_of(field.begin(), field.end(),
                                      [](QChar c) { return c.isLetterOrNumber() || c == u'_'; });
    if (!wordOnly)
        return false;
    if (parts.at(1).compare(u"ASC", Qt::CaseInsensitive) == 0)
        return setSort(field, false);
    if (parts.at(1).compare(u"DESC", Qt::CaseInsensitive) == 0)
        return setSort(field, true);
    return false;
}

bool Query::setSort(const QString& field, bool descending)
{
    if (!m_open)
        return false;
    const int c = fieldIndex(field);
    if (c < 0)
        return false;
    if (m_state != State::Browse)
        post();
    // A name the engine gave in lower case (the server folds unquoted
    // names) keeps the spelling the program asked with.
    const QString name = m_fields.at(c) == m_fields.at(c).toLower() ? field : m_fields.at(c);
    const QString sortKeep = name + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    const OrderTerm termKeep = m_db.dialect().orderTerm(name, m_kinds.value(c), descending);
    m_sort = sortKeep;
    m_clientTerm = termKeep;
    try {
        load();
    } catch (...) {
        m_sort.clear();
        m_clientTerm.reset();
        throw;
    }
    m_sort = sortKeep;
    m_clientTerm = termKeep;
    return true;
}
