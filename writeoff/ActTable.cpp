#include "ActTable.h"

#include "ActNumbers.h"
#include "CellText.h"

#include <algorithm>

ActTable::ActTable(pugi::xml_node documentRoot, const WordNames& names)
    : w(names)
{
    // Tables inside text boxes are not the document's tables for Word either.
    const pugi::xml_node body = documentRoot.child(w("body").c_str());
    m_table = body.find_node([this](const pugi::xml_node& n) {
        if (!w.is(n, "tbl"))
            return false;
        for (pugi::xml_node up = n.parent(); up; up = up.parent()) {
            if (w.is(up, "txbxContent"))
                return false;
        }
        return true;
    });
}

int ActTable::shortRow(qsizetype toolCount) const
{
    const std::vector<pugi::xml_node> all = rows();
    const qsizetype count = qsizetype(all.size());
    if (count < FirstToolRow)
        return FirstToolRow;
    // Rows past the table's end will be copies of its last row, checked here.
    const qsizetype last = std::min(count, std::max<qsizetype>(FirstToolRow, toolCount + 1));
    for (qsizetype r = FirstToolRow; r <= last; ++r) {
        if (cells(all[size_t(r - 1)]).size() < ToolCells)
            return int(r);
    }
    return 0;
}

void ActTable::fill(const QList<ActTool>& tools, bool russian)
{
    const CellText cellText(w);
    std::vector<pugi::xml_node> all = rows();
    size_t row = FirstToolRow - 1;
    for (qsizetype i = 0; i < tools.size(); ++i) {
        const ActTool& tool = tools.at(i);
        const std::vector<pugi::xml_node> target = cells(all[row]);
        cellText.set(target[0], QString::number(i + 1));
        cellText.set(target[1], tool.name);
        cellText.set(target[2], QStringLiteral("1"));
        cellText.set(target[3], actPriceText(tool.price, russian));
        cellText.set(target[4], tool.inventory);
        if (i + 1 < tools.size())
            appendRow(all);
        ++row;
    }
}

std::vector<pugi::xml_node> ActTable::rows() const
{
    std::vector<pugi::xml_node> found;
    for (const pugi::xml_node& child : m_table.children()) {
        if (w.is(child, "tr"))
            found.push_back(child);
    }
    return found;
}

std::vector<pugi::xml_node> ActTable::cells(pugi::xml_node row) const
{
    std::vector<pugi::xml_node> found;
    for (const pugi::xml_node& child : row.children()) {
        if (w.is(child, "tc"))
            found.push_back(child);
    }
    return found;
}

pugi::xml_node ActTable::appendRow(std::vector<pugi::xml_node>& all)
{
    const pugi::xml_node last = all.back();
    pugi::xml_node copy = m_table.insert_copy_after(last, last);
    // Word gives each row and paragraph its own id; two equal ones make it
    // report the file as damaged.
    copy.remove_attribute("w14:paraId");
    copy.remove_attribute("w14:textId");
    const CellText cellText(w);
    for (const pugi::xml_node& cell : cells(copy))
        cellText.set(cell, {});
    all.push_back(copy);
    return copy;
}
