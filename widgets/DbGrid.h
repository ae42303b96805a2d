#pragma once

#include <QTableView>

class Query;
class QueryModel;

// A read-only grid over a Query whose selected row follows the query's
// current row both ways; column titles are clickable.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    void setQueryModel(QueryModel* model);
    QueryModel* queryModel() const { return m_model; }
    Query* query() const;

signals:
    void titleClicked(int column);
    void rowDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void followQuery();

    QueryModel* m_model = nullptr;
    bool m_syncing = false;
};
