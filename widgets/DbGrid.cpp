#include "DbGrid.h"

#include "GridDelegate.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/QueryModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

// Rows another desk may have added above a kept row between two looks: a row
// gone meanwhile must not make the grid read the whole result looking for it.
constexpr int kRowsAddedMeanwhile = 1000;

} // namespace

DbGrid::DbGrid(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);
    setItemDelegate(new GridDelegate(this));
}

Query* DbGrid::query() const
{
    return m_model ? &m_model->query() : nullptr;
}

void DbGrid::setQueryModel(QueryModel* model)
{
    m_model = model;
    connect(model, &QueryModel::databaseError, this, &DbGrid::databaseError);
    Query& q = model->query();
    connect(&q, &Query::currentChanged, this, &DbGrid::followQuery);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (!modelBound())
            m_followAtBinding = true;
    });
    if (isVisible())
        bindModel();
}

void DbGrid::bindModel()
{
    if (!m_model || m_bound)
        return;
    setModel(m_model);
    m_bound = true;
    // After the view's own reset handling, which clears the current row.
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::followQuery);
    for (int c = 0; c < m_widths.size(); ++c) {
        if (m_widths[c] >= 0)
            QTableView::setColumnWidth(c, m_widths[c]);
    }
    for (int c = 0; c < m_hidden.size(); ++c)
        QTableView::setColumnHidden(c, m_hidden[c]);
    m_widths.clear();
    m_hidden.clear();
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (!m_syncing && current.isValid()) {
            m_syncing = true;
            try {
                m_model->query().setRecNo(current.row());
            } catch (const DbError& e) {
                emit databaseError(e.text());
            }
            m_syncing = false;
        }
        emit currentRowChanged(current.isValid() ? current.row() : -1);
    });
    if (m_followAtBinding)
        followQuery();
}

void DbGrid::showEvent(QShowEvent* event)
{
    bindModel();
    QTableView::showEvent(event);
}

void DbGrid::setColumnWidth(int column, int width)
{
    if (modelBound() || column < 0) {
        QTableView::setColumnWidth(column, width);
        return;
    }
    if (m_widths.size() <= column)
        m_widths.resize(column + 1, -1);
    m_widths[column] = width;
}

int DbGrid::columnWidth(int column) const
{
    if (modelBound())
        return QTableView::columnWidth(column);
    const int width = m_widths.value(column, -1);
    return width >= 0 ? width : horizontalHeader()->defaultSectionSize();
}

void DbGrid::setColumnHidden(int column, bool hide)
{
    if (modelBound() || column < 0) {
        QTableView::setColumnHidden(column, hide);
        return;
    }
    if (m_hidden.size() <= column)
        m_hidden.resize(column + 1, false);
    m_hidden[column] = hide;
}

bool DbGrid::isColumnHidden(int column) const
{
    return modelBound() ? QTableView::isColumnHidden(column) : m_hidden.value(column, false);
}

void DbGrid::clearCurrentRow()
{
    if (!modelBound()) {
        m_followAtBinding = false;
        return;
    }
    selectionModel()->clearCurrentIndex();
    clearSelection();
}

void DbGrid::followQuery()
{
    if (m_syncing || !m_model)
        return;
    if (!modelBound()) {
        m_followAtBinding = true;
        return;
    }
    const int row = m_model->query().recNo();
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        clearCurrentRow();
    } else if (currentIndex().row() != row) {
        const int column = std::max(0, currentIndex().column());
        setCurrentIndex(m_model->index(row, column));
    }
    m_syncing = false;
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit rowDoubleClicked();
}

void DbGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (m_spreadOnResize)
        spreadColumns();
}

void DbGrid::spreadColumns()
{
    if (!m_model)
        return;
    const int count = m_model->columnCount();
    int visible = 0;
    for (int i = 0; i < count; ++i)
        visible += isColumnHidden(i) ? 0 : 1;
    if (visible == 0)
        return;
    const int width = (contentsRect().width() - visible - 8) / visible;
    for (int i = 0; i < count; ++i)
        setColumnWidth(i, std::max(0, width));
}

QString DbGrid::toggleSort(int column)
{
    if (!m_model)
        return {};
    const QString field = m_model->columns().value(column).field;
    if (field.isEmpty())
        return {};
    Query& q = m_model->query();
    const QString ascending = field + QStringLiteral(" ASC");
    if (!q.setSort(q.sort() == ascending ? field + QStringLiteral(" DESC") : ascending))
        return {};
    return q.sort();
}

QString DbGrid::columnTitles() const
{
    QStringList titles;
    if (!m_model)
        return {};
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!isColumnHidden(c))
            titles << m_model->headerData(c, Qt::Horizontal).toString();
    }
    return titles.join(QStringLiteral(", "));
}

void DbGrid::reopenInPlace(const QString& keyField)
{
    if (!m_model)
        return;
    Query& q = m_model->query();
    if (!q.isOpen()) {
        q.open();
        return;
    }
    const int keyColumn = q.fieldIndex(keyField);
    const QScrollBar* bar = verticalScrollBar();
    const bool atTop = bar->value() <= bar->minimum();
    const int topRow = rowAt(0);
    const QVariant currentKey = keyColumn >= 0 && q.recNo() >= 0 ? q.value(q.recNo(), keyColumn) : QVariant();
    const QVariant topKey = keyColumn >= 0 && topRow >= 0 ? q.value(topRow, keyColumn) : QVariant();
    const int limit = std::max(q.fetchedCount(), topRow + 1) + kRowsAddedMeanwhile;
    const QString sort = q.sort();

    q.reopen();
    if (!sort.isEmpty())
        q.setSort(sort);
    if (keyColumn < 0)
        return;
    if (currentKey.isValid()) {
        const int row = q.rowOf(keyField, currentKey, limit);
        if (row >= 0)
            q.setRecNo(row);
    }
    // Moving the current row scrolled it into view; the view's place is set last.
    if (atTop)
        scrollRowToTop(0);
    else if (topKey.isValid())
        scrollRowToTop(std::max(0, q.rowOf(keyField, topKey, limit)));
}

void DbGrid::scrollRowToTop(int row)
{
    // The scroll range follows a reset only at the next layout: lay out now.
    executeDelayedItemsLayout();
    updateGeometries();
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(verticalScrollMode() == ScrollPerItem ? row : verticalHeader()->sectionPosition(row));
}
