#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <functional>

class Query;

// One grid column: which field it shows, its title, and an optional display
// format for dates and times ("hh:mm:ss").
struct GridColumn {
    QString field;
    QString title;
    QString displayFormat;
};

// A grid's view of a Query: the columns chosen by field name, rows fetched as
// the view scrolls.
class QueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The fill of a selected row, where the grid colours its rows itself.
    static constexpr int SelectedBackgroundRole = Qt::UserRole + 1;
    // Row colours: normal and selected fill of a row; invalid colours keep the grid's own.
    using RowColours = std::function<QColor(int row, bool selected)>;
    void setRowColours(RowColours colours) { m_rowColours = std::move(colours); }

    explicit QueryModel(Query& query, QObject* parent = nullptr);

    Query& query() const { return m_query; }

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    void setColumnField(int column, const QString& field);
    void setColumnTitle(int column, const QString& title);
    void setDisplayFormat(int column, const QString& format);
    // Index of the first column showing field, or -1.
    int columnOfField(const QString& field) const;

    // The text a cell shows.
    QString displayText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // Rows could not be fetched as the view scrolled.
    void databaseError(const QString& text);

private:
    Query& m_query;
    QList<GridColumn> m_columns;
    RowColours m_rowColours;
};
