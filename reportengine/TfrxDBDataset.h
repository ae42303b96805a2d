#pragma once

#include <QString>
#include <memory>

class Query;
class RowSource;

// A named data set of a template, bound at run time to the rows it reads:
// a window's result set (left open, its current row untouched) or any other
// row source.
class TfrxDBDataset
{
public:
    explicit TfrxDBDataset(const QString& name);

    const QString& name() const { return m_name; }

    void setQuery(Query& query);
    // The source must outlive the report's next build.
    void setSource(RowSource& source);
    void setSource(std::shared_ptr<RowSource> source) { m_source = std::move(source); }
    void unbind() { m_source.reset(); }
    RowSource* source() const { return m_source.get(); }

private:
    QString m_name;
    std::shared_ptr<RowSource> m_source;
};
