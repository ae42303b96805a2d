#include "ImportRowsModel.h"

#include <QColor>

namespace {
constexpr int kOwnColumns = 3; // line, code, verdict
}

ImportRowsModel::ImportRowsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ImportRowsModel::show(const ImportTable* table, const ImportPlan* plan, const Messages* texts,
                           const QStringList& captions)
{
    beginResetModel();
    m_table = table;
    m_plan = plan;
    m_texts = texts;
    m_captions = captions;
    endResetModel();
}

int ImportRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_plan ? 0 : int(m_plan->rows.size());
}

int ImportRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant ImportRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_plan || index.row() >= m_plan->rows.size())
        return {};
    const PlannedRow& row = m_plan->rows.at(index.row());
    if (role == Qt::BackgroundRole && row.verdict == RowVerdict::Refused)
        return QColor(255, 210, 210);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case 0:
        return row.line;
    case 1:
        return row.code;
    case 2:
        return ImportPlan::verdictText(row, *m_texts);
    default:
        return m_table->rows.value(index.row()).value(index.column() - kOwnColumns);
    }
}

QVariant ImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_captions.value(section);
}
