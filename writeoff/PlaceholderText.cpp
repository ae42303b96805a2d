#include "PlaceholderText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

// Stands in the joined text for run content that is not text (a tab, a
// break, a picture), so a placeholder is never matched across it.
constexpr char Barrier = '\x01';

} // namespace

PlaceholderText::PlaceholderText(const WordNames& names, std::string placeholder, std::string replacement)
    : w(names)
    , m_placeholder(std::move(placeholder))
    , m_replacement(std::move(replacement))
{
}

int PlaceholderText::replaceIn(pugi::xml_node part) const
{
    std::vector<pugi::xml_node> paragraphs;
    for (pugi::xml_node n = part.first_child(); n;) {
        // Depth-first walk; text box paragraphs nested in a run come too.
        if (w.is(n, "p"))
            paragraphs.push_back(n);
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != part && !n.next_sibling())
            n = n.parent();
        n = (n && n != part) ? n.next_sibling() : pugi::xml_node();
    }
    int replaced = 0;
    for (const pugi::xml_node& paragraph : paragraphs)
        replaced += replaceInParagraph(paragraph);
    return replaced;
}

int PlaceholderText::replaceInParagraph(pugi::xml_node paragraph) const
{
    std::vector<Piece> pieces;
    std::string joined;
    collect(paragraph, pieces, joined);
    std::vector<size_t> matches;
    for (size_t at = joined.find(m_placeholder); at != std::string::npos;
         at = joined.find(m_placeholder, at + m_placeholder.size()))
        matches.push_back(at);

    // From the last match back, so the offsets of earlier ones stay valid.
    for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
        const size_t from = *match;
        const size_t to = from + m_placeholder.size();
        bool first = true;
        for (Piece& piece : pieces) {
            const size_t end = piece.start + piece.value.size();
            if (end <= from || piece.start >= to)
                continue;
            const size_t cutFrom = std::max(from, piece.start) - piece.start;
            const size_t cutTo = std::min(to, end) - piece.start;
            piece.value.replace(cutFrom, cutTo - cutFrom, first ? m_replacement : std::string());
            piece.changed = true;
            first = false;
        }
    }
    for (Piece& piece : pieces) {
        if (!piece.changed)
            continue;
        pugi::xml_attribute space = piece.text.attribute("xml:space");
        (space ? space : piece.text.append_attribute("xml:space")).set_value("preserve");
        piece.text.text().set(piece.value.c_str());
    }
    return int(matches.size());
}

void PlaceholderText::collect(pugi::xml_node node, std::vector<Piece>& pieces, std::string& joined) const
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || w.is(child, "p"))
            continue; // a text box's paragraph is handled on its own
        if (w.is(child, "t")) {
            pieces.push_back({child, joined.size(), child.text().get()});
            joined += pieces.back().value;
        } else if (isHidden(child)) {
            continue;
        } else if (isShownNonText(child)) {
            joined += Barrier;
        } else {
            collect(child, pieces, joined); // runs, links, insertions, bookmarks, proofing marks
        }
    }
}

bool PlaceholderText::isHidden(const pugi::xml_node& node) const
{
    // Formatting, field codes and deleted text are not part of what is read.
    static constexpr std::array<const char*, 7> Hidden = {"rPr", "pPr",      "instrText",   "delText",
                                                          "del", "moveFrom", "delInstrText"};
    return std::any_of(Hidden.begin(), Hidden.end(), [&](const char* local) { return w.is(node, local); });
}

bool PlaceholderText::isShownNonText(const pugi::xml_node& node) const
{
    static constexpr std::array<const char*, 15> Shown = {"tab",
                                                          "br",
                                                          "cr",
                                                          "ptab",
                                                          "sym",
                                                          "noBreakHyphen",
                                                          "softHyphen",
                                                          "drawing",
                                                          "pict",
                                                          "object",
                                                          "fldChar",
                                                          "ruby",
                                                          "footnoteReference",
                                                          "endnoteReference",
                                                          "commentReference"};
    if (std::any_of(Shown.begin(), Shown.end(), [&](const char* local) { return w.is(node, local); }))
        return true;
    // Elements of other vocabularies (mc:AlternateContent, v:shape) are drawings.
    return !std::string_view(node.name()).starts_with(w(""));
}
