#pragma once

#include "ActTool.h"
#include "WordNames.h"

#include <QList>

#include <pugixml.hpp>

#include <vector>

// The first table of an act document: row 2 gets the first tool, each
// further tool the next row; while tools remain, a copy of the last row
// (its row, cell and run formatting, not its text) is appended.
class ActTable
{
public:
    static constexpr int FirstToolRow = 2; // 1-based, as in Word
    static constexpr int ToolCells = 5;

    ActTable(pugi::xml_node documentRoot, const WordNames& names);

    bool found() const { return static_cast<bool>(m_table); }
    // The first row (1-based) that would receive a tool and has fewer than
    // five cells, or 0 when every one has them. Row 2 is checked even for an
    // act without tools: such a template is broken for every other act.
    int shortRow(qsizetype toolCount) const;

    // Cells 1 to 5: running number, name, quantity 1, price as stored,
    // inventory number. Nothing is written for an empty list.
    void fill(const QList<ActTool>& tools, bool russian);

private:
    std::vector<pugi::xml_node> rows() const;
    std::vector<pugi::xml_node> cells(pugi::xml_node row) const;
    pugi::xml_node appendRow(std::vector<pugi::xml_node>& rows);

    const WordNames& w;
    pugi::xml_node m_table;
};
