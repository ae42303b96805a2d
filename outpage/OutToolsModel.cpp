#include "OutToolsModel.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {

// The tool list's colour of a tool that is out, and a deeper one for a
// tool past its due date: seen from across the store.
const QColor kIssued(255, 161, 127);

} // namespace

OutToolsModel::OutToolsModel(std::function<bool()> russian, QObject* parent)
    : QAbstractTableModel(parent)
    , m_russian(std::move(russian))
{
}

QColor OutToolsModel::issuedColour()
{
    return kIssued;
}

QColor OutToolsModel::overdueColour()
{
    // The same hue, stronger: more saturated, a little darker, black text still readable.
    return QColor::fromHsv(kIssued.hsvHue(), std::min(255, kIssued.hsvSaturation() * 8 / 5),
                           kIssued.value() * 95 / 100);
}

void OutToolsModel::setTools(QList<OutTool> tools, const QDate& today)
{
    m_all = std::move(tools);
    m_today = today;
    rebuild();
}

void OutToolsModel::setSearch(const QString& text)
{
    if (text == m_search)
        return;
    m_search = text;
    rebuild();
}

void OutToolsModel::setOverdueOnly(bool on)
{
    if (on == m_overdueOnly)
        return;
    m_overdueOnly = on;
    rebuild();
}

int OutToolsModel::overdueCount() const
{
    return int(std::count_if(m_all.cbegin(), m_all.cend(), [this](const OutTool& t) { return t.overdue(m_today); }));
}

void OutToolsModel::rebuild()
{
    beginResetModel();
    m_shown.clear();
    for (const OutTool& tool : m_all) {
        if ((!m_overdueOnly || tool.overdue(m_today)) && ToolsOut::matches(tool, m_search))
            m_shown.append(tool);
    }
    if (m_sortColumn >= 0) {
        QCollator collator(QLocale(m_russian() ? QLocale::Russian : QLocale::English));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(true);
        const int column = m_sortColumn;
        const QDate today = m_today;
        const auto less = [&](const OutTool& a, const OutTool& b) {
            switch (column) {
            case ToolsOut::IssuedAt:
            case ToolsOut::DaysOut:
                // Days out grow as the issue gets older.
                if (a.issuedOn != b.issuedOn)
                    return column == ToolsOut::IssuedAt ? a.issuedOn < b.issuedOn : a.issuedOn > b.issuedOn;
                return column == ToolsOut::IssuedAt ? a.issuedAt < b.issuedAt : a.issuedAt > b.issuedAt;
            case ToolsOut::Due:
                return a.due < b.due;
            default:
                return collator.compare(ToolsOut::cellText(a, column, today), ToolsOut::cellText(b, column, today)) < 0;
            }
        };
        if (m_sortOrder == Qt::AscendingOrder)
            std::stable_sort(m_shown.begin(), m_shown.end(), less);
        else
            std::stable_sort(m_shown.begin(), m_shown.end(),
                             [&](const OutTool& a, const OutTool& b) { return less(b, a); });
    }
    endResetModel();
}

int OutToolsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int OutToolsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ToolsOut::ColumnCount;
}

QVariant OutToolsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const OutTool& tool = m_shown.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return ToolsOut::cellText(tool, index.column(), m_today);
    case Qt::BackgroundRole:
        return tool.overdue(m_today) ? overdueColour() : issuedColour();
    case Qt::ForegroundRole:
        return QColor(Qt::black); // readable on both shades, whatever the style
    case Qt::TextAlignmentRole:
        if (index.column() == ToolsOut::DaysOut)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::UserRole:
        return tool.key;
    default:
        return {};
    }
}

QVariant OutToolsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ToolsOut::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return ToolsOut::columnTitle(section, m_russian());
}

void OutToolsModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column >= 0 && column < ToolsOut::ColumnCount ? column : -1;
    m_sortOrder = order;
    rebuild();
}

void OutToolsModel::retitle()
{
    emit headerDataChanged(Qt::Horizontal, 0, ToolsOut::ColumnCount - 1);
}
