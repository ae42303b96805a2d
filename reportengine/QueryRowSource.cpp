#include "QueryRowSource.h"

#include "data/Query.h"

QueryRowSource::QueryRowSource(Query& query)
    : m_query(query)
{
}

void QueryRowSource::first()
{
    m_walking = true;
    m_row = 0;
    while (m_query.fetchedCount() == 0 && m_query.canFetchMore())
        m_query.fetchMore();
}

void QueryRowSource::next()
{
    if (!m_walking)
        first();
    ++m_row;
    while (m_row >= m_query.fetchedCount() && m_query.canFetchMore())
        m_query.fetchMore();
}

bool QueryRowSource::eof() const
{
    const int row = m_walking ? m_row : m_query.recNo();
    return !m_query.isOpen() || row < 0 || row >= m_query.fetchedCount();
}

qint64 QueryRowSource::rowsInAll()
{
    return m_query.isOpen() ? m_query.recordCount() : 0;
}

int QueryRowSource::fieldIndex(const QString& field) const
{
    return m_query.fieldIndex(field);
}

FieldKind QueryRowSource::fieldKind(int column) const
{
    return m_query.fieldKind(column);
}

QVariant QueryRowSource::value(int column) const
{
    if (eof())
        return {};
    return m_query.value(m_walking ? m_row : m_query.recNo(), column);
}
