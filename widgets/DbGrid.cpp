#include "DbGrid.h"

#include "GridDelegate.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/QueryModel.h"

#include <QHeaderView>
#include <QMouseEvent>

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
    setModel(model);
    Query& q = model->query();
    connect(&q, &Query::currentChanged, this, &DbGrid::followQuery);
    connect(model, &QAbstractItemModel::modelReset, this, &DbGrid::followQuery);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncing || !current.isValid() || !m_model)
                    return;
                m_syncing = true;
                try {
                    m_model->query().setRecNo(current.row());
                } catch (const DbError&) {
                    // The grid keeps showing the row; the next action reports the fault.
                }
                m_syncing = false;
            });
}

void DbGrid::followQuery()
{
    if (m_syncing || !m_model)
        return;
    const int row = m_model->query().recNo();
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
        clearSelection();
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
