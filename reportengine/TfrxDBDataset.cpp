#include "TfrxDBDataset.h"

#include "QueryRowSource.h"

TfrxDBDataset::TfrxDBDataset(const QString& name)
    : m_name(name)
{
}

void TfrxDBDataset::setQuery(Query& query)
{
    m_source = std::make_shared<QueryRowSource>(query);
}

void TfrxDBDataset::setSource(RowSource& source)
{
    m_source = std::shared_ptr<RowSource>(&source, [](RowSource*) {});
}
