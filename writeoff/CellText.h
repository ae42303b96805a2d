#pragma once

#include "WordNames.h"

#include <QString>

#include <pugixml.hpp>

// Puts a text into a table cell the way setting the cell range's text in
// Word does: the cell keeps its own properties and becomes one paragraph,
// with the first paragraph's properties and the first run's formatting (or,
// in an empty cell, the formatting of the paragraph mark).
class CellText
{
public:
    explicit CellText(const WordNames& names);

    // An empty text leaves an empty run that still carries the formatting,
    // so a later text in that cell looks the same.
    void set(pugi::xml_node cell, const QString& text) const;

private:
    pugi::xml_node firstParagraph(pugi::xml_node cell) const;
    pugi::xml_node firstRun(pugi::xml_node paragraph) const;
    void copyRunProperties(pugi::xml_node from, pugi::xml_node run) const;
    void appendText(pugi::xml_node run, const QString& text) const;

    const WordNames& w;
};
