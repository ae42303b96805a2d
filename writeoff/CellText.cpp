#include "CellText.h"

#include <array>
#include <cstring>

namespace {

// Marks of the paragraph mark's revision that a run's properties must not hold.
constexpr std::array<const char*, 5> ParagraphMarkOnly = {"ins", "del", "moveFrom", "moveTo", "rPrChange"};

bool isXmlChar(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

// Stored texts may hold control characters that XML 1.0 cannot carry; one of
// them would make the whole document unreadable.
QString xmlSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isXmlChar(c.unicode()))
            out.append(c);
    }
    return out;
}

void setPreservedText(pugi::xml_node t, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    t.append_attribute("xml:space") = "preserve";
    t.text().set(utf8.constData());
}

} // namespace

CellText::CellText(const WordNames& names)
    : w(names)
{
}

void CellText::set(pugi::xml_node cell, const QString& text) const
{
    const pugi::xml_node source = firstParagraph(cell);
    pugi::xml_document keep; // what survives of the old content
    pugi::xml_node paragraph = keep.append_child(w("p").c_str());
    if (source) {
        if (const pugi::xml_node pPr = source.child(w("pPr").c_str()))
            paragraph.append_copy(pPr);
    }
    const pugi::xml_node sourceRun = source ? firstRun(source) : pugi::xml_node();
    const pugi::xml_node markProperties = paragraph.child(w("pPr").c_str()).child(w("rPr").c_str());
    const pugi::xml_node runProperties = sourceRun ? sourceRun.child(w("rPr").c_str()) : markProperties;

    const QString safe = xmlSafe(text);
    if (!safe.isEmpty() || runProperties) {
        pugi::xml_node run = paragraph.append_child(w("r").c_str());
        if (runProperties)
            copyRunProperties(runProperties, run);
        appendText(run, safe);
    }

    const std::string cellProperties = w("tcPr");
    for (pugi::xml_node child = cell.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (child.type() != pugi::node_element || cellProperties != child.name())
            cell.remove_child(child);
        child = next;
    }
    cell.append_copy(paragraph);
}

pugi::xml_node CellText::firstParagraph(pugi::xml_node cell) const
{
    return cell.find_node([this](const pugi::xml_node& n) { return w.is(n, "p"); });
}

pugi::xml_node CellText::firstRun(pugi::xml_node paragraph) const
{
    return paragraph.find_node([this, paragraph](const pugi::xml_node& n) {
        if (!w.is(n, "r"))
            return false;
        pugi::xml_node owner = n.parent();
        while (owner && !w.is(owner, "p"))
            owner = owner.parent();
        return owner == paragraph; // not a run of a text box inside it
    });
}

void CellText::copyRunProperties(pugi::xml_node from, pugi::xml_node run) const
{
    pugi::xml_node properties = run.append_child(w("rPr").c_str());
    for (const pugi::xml_node& child : from.children()) {
        bool markOnly = false;
        for (const char* local : ParagraphMarkOnly)
            markOnly = markOnly || w.is(child, local);
        if (!markOnly)
            properties.append_copy(child);
    }
}

void CellText::appendText(pugi::xml_node run, const QString& text) const
{
    // Tabs and line breaks become their own run elements, as Word keeps them.
    QString piece;
    auto flush = [&] {
        if (!piece.isEmpty())
            setPreservedText(run.append_child(w("t").c_str()), piece);
        piece.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\t') {
            flush();
            run.append_child(w("tab").c_str());
        } else if (c == u'\n' || c == u'\r') {
            flush();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            run.append_child(w("br").c_str());
        } else {
            piece.append(c);
        }
    }
    flush();
}
