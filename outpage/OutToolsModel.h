#pragma once

#include "core/ToolsOut.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>

// The tools-out list as the page's grid shows it: the rows the search
// leaves, sorted by a title click or else overdue first, overdue rows in
// the stronger shade of the issued colour.
class OutToolsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // russian tells the language of the titles at the moment.
    explicit OutToolsModel(std::function<bool()> russian, QObject* parent = nullptr);

    // A new list, read on today; the search and sort stay.
    void setTools(QList<OutTool> tools, const QDate& today);
    void setSearch(const QString& text);
    const QString& search() const { return m_search; }
    // Only the overdue rows.
    void setOverdueOnly(bool on);

    // The rows shown, in their order.
    const QList<OutTool>& shown() const { return m_shown; }
    const QList<OutTool>& all() const { return m_all; }
    const QDate& today() const { return m_today; }
    int overdueCount() const;

    // The colours of a tool out, and of one overdue: the issued colour's stronger shade.
    static QColor issuedColour();
    static QColor overdueColour();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // -1 goes back to the list's own order.
    void sort(int column, Qt::SortOrder order) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // Refreshes the titles in the current language.
    void retitle();

private:
    void rebuild();

    std::function<bool()> m_russian;
    QList<OutTool> m_all;
    QList<OutTool> m_shown;
    QDate m_today;
    QString m_search;
    bool m_overdueOnly = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
