#pragma once

#include <QTableView>

class Query;
class QueryModel;

// A read-only grid over a Query whose selected row follows the query's
// current row both ways; column titles are clickable.
//
// The view takes its model when it is first shown: binding a model costs
// about half a millisecond and 90 KB a grid, and most windows are built at
// start but not opened in every session. Until then the column widths and
// hidden columns set here are kept and applied at binding, and model() of
// the view is null; queryModel() is there from the start.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    void setQueryModel(QueryModel* model);
    QueryModel* queryModel() const { return m_model; }
    Query* query() const;
    // Whether the view has taken the query model: after the first show.
    bool modelBound() const { return m_bound; }

    // The view's own column settings, kept until the model is bound.
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    void setColumnHidden(int column, bool hide);
    bool isColumnHidden(int column) const;
    // No row current or selected, until the query moves again.
    void clearCurrentRow();

    // Every column gets the same width, (client width - visible columns - 8)
    // / visible columns, the fraction cut off.
    void spreadColumns();
    // Spreads the columns again whenever the grid is resized.
    void setSpreadOnResize(bool on) { m_spreadOnResize = on; }
    // A title click's sort: the column's field ascending, or descending when
    // it is sorted ascending already. The new sort text; empty when the
    // column shows no field or the result refused it.
    QString toggleSort(int column);
    // The titles of the visible columns joined by ", ": a name for the grid
    // when nothing else names it.
    QString columnTitles() const;
    // Opens the query again to show what other desks changed, keeping the
    // current row and the row at the top of the view, both found by their
    // keyField, and the column sort. A view at the very top stays there, so
    // rows added above come into sight.
    void reopenInPlace(const QString& keyField);

signals:
    void titleClicked(int column);
    // The user, or the query, made another row current; -1 for none.
    void currentRowChanged(int row);
    void rowDoubleClicked();
    // A database failure while the grid fetched or moved rows on its own.
    void databaseError(const QString& text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void bindModel();
    void followQuery();
    // Makes row the top row of the view.
    void scrollRowToTop(int row);

    QueryModel* m_model = nullptr;
    // Column settings made before binding: width or -1, hidden.
    QList<int> m_widths;
    QList<bool> m_hidden;
    // Before binding: whether the bound view is to show the query's row.
    bool m_followAtBinding = true;
    bool m_bound = false;
    bool m_syncing = false;
    bool m_spreadOnResize = false;
};
