#pragma once

#include "WordNames.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

// Replaces a placeholder in every paragraph of a part, also when Word has
// split it over several runs ("#SU" + "MM#"): the paragraph's text is joined
// first, and the replacement takes the formatting of the run where the
// placeholder starts. Text around it keeps its own runs.
class PlaceholderText
{
public:
    PlaceholderText(const WordNames& names, std::string placeholder, std::string replacement);

    // Returns how many placeholders were replaced.
    int replaceIn(pugi::xml_node part) const;

private:
    struct Piece {
        pugi::xml_node text; // a w:t element
        size_t start;        // its offset in the joined paragraph text
        std::string value;
        bool changed = false;
    };

    int replaceInParagraph(pugi::xml_node paragraph) const;
    void collect(pugi::xml_node node, std::vector<Piece>& pieces, std::string& joined) const;
    bool isHidden(const pugi::xml_node& node) const;
    bool isShownNonText(const pugi::xml_node& node) const;

    const WordNames& w;
    std::string m_placeholder;
    std::string m_replacement;
};
