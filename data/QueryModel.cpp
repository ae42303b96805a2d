#include "QueryModel.h"

#include "DbError.h"
#include "FieldText.h"
#include "Query.h"

QueryModel::QueryModel(Query& query, QObject* parent)
    : QAbstractTableModel(parent)
    , m_query(query)
{
    connect(&m_query, &Query::reopened, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&m_query, &Query::rowsAboutToBeAdded, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&m_query, &Query::rowsAdded, this, [this] { endInsertRows(); });
    connect(&m_query, &Query::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(&m_query, &Query::rowRemoved, this, [this] { endRemoveRows(); });
    connect(&m_query, &Query::rowChanged, this, [this](int row) {
        if (row >= 0 && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, static_cast<int>(m_columns.size()) - 1));
    });
}

void QueryModel::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void QueryModel::setColumnField(int column, const QString& field)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].field = field;
    emit dataChanged(index(0, column), index(std::max(0, rowCount() - 1), column));
}

void QueryModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void QueryModel::setDisplayFormat(int column, const QString& format)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].displayFormat = format;
    emit dataChanged(index(0, column), index(std::max(0, rowCount() - 1), column));
}

int QueryModel::columnOfField(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString QueryModel::displayText(int row, int column) const
{
    if (column < 0 || column >= m_columns.size())
        return {};
    const GridColumn& c = m_columns.at(column);
    const int f = m_query.fieldIndex(c.field);
    if (f < 0)
        return {};
    return fieldText(m_query.value(row, f), m_query.fieldKind(f), c.displayFormat);
}

int QueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_query.fetchedCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return displayText(index.row(), index.column());
    if (m_rowColours && (role == Qt::BackgroundRole || role == SelectedBackgroundRole)) {
        const QColor colour = m_rowColours(index.row(), role == SelectedBackgroundRole);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    return {};
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The title also as the tip: a narrow column shows it shortened.
    if (orientation == Qt::Horizontal
        && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) && section >= 0
        && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool QueryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_query.canFetchMore();
}

void QueryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    try {
        m_query.fetchMore();
    } catch (const DbError& e) {
        emit databaseError(e.text()); // the view asks again on the next scroll
    }
}
