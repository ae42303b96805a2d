#pragma once

#include "ExportTable.h"

#include <QVariantList>
#include <functional>

class Connection;

// The rows of an export, read page by page after the last row read (the
// order's values, the key last), so a register of any size costs one page
// of memory and no statement stays open between pages. A row that another
// desk moved within the order meanwhile is given once.
class TableRows
{
public:
    static constexpr int kPage = 2000;

    TableRows(Connection& db, const ExportTable& table);

    // The rows the statement lists now.
    qint64 count();
    // Gives each row's values of the table's columns, in their order, as the
    // result sets hold them. False when row answered false (it stops there).
    bool forEach(const std::function<bool(const QVariantList&)>& row);

private:
    Connection& m_db;
    const ExportTable& m_table;
};
