#include "RtfWriter.h"

#include "PreparedReport.h"
#include "ReportUnits.h"
#include "data/WorkCancelled.h"

#include <QIODevice>
#include <algorithm>
#include <cmath>

namespace {

// Room the word processor gets below the last row of a page for the page
// break's own line and its rounding: the document's bottom margin is this
// much smaller than the report's, which never prints there.
constexpr double kBottomSlackMm = 3;
constexpr int kPaddingTwips = 15;
constexpr int kFrameTwips = 15;
constexpr double kEpsilon = 0.01;
// The paragraph a document ends with after its last table: tiny, and
// without \par, so no further paragraph of the default size follows.
constexpr const char* kEnd = "\\pard\\plain\\fs2\\sl-20\\slmult0\n}\n";

QByteArray num(long long n)
{
    return QByteArray::number(n);
}

int twips(double units)
{
    return ReportUnits::toTwips(units);
}

// The Windows-1251 byte of a character, for readers that skip \uN.
char ansiOf(char16_t c)
{
    if (c >= 0x410 && c <= 0x44F)
        return static_cast<char>(0xC0 + (c - 0x410));
    switch (c) {
    case 0x401:
        return static_cast<char>(0xA8);
    case 0x451:
        return static_cast<char>(0xB8);
    case 0x2116:
        return static_cast<char>(0xB9);
    case 0xA0:
        return static_cast<char>(0xA0);
    case 0xAB:
        return static_cast<char>(0xAB);
    case 0xBB:
        return static_cast<char>(0xBB);
    case 0x2013:
        return static_cast<char>(0x96);
    case 0x2014:
        return static_cast<char>(0x97);
    default:
        return '?';
    }
}

// Rounded down: a size a quarter point larger than printed would wrap a
// text that fills its box.
int halfPoints(int pixels)
{
    return static_cast<int>(std::floor(pixels * 72.0 / ReportUnits::kDpi * 2 + 1e-9));
}

} // namespace

RtfWriter::RtfWriter(const PreparedReport& report)
    : m_report(report)
{
    for (const MemoStyle& s : report.styles()) {
        if (!m_fonts.contains(s.fontName))
            m_fonts.insert(s.fontName, static_cast<int>(m_fonts.size()));
    }
    if (m_fonts.isEmpty())
        m_fonts.insert(QStringLiteral("Arial"), 0);
    m_contentTwips = twips(report.paperSize.width() - report.margins.left() - report.margins.right());
}

QByteArray RtfWriter::escape(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\n') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c < 0x20) {
            continue;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "\\u";
            out += num(static_cast<qint16>(c));
            const char fallback = ansiOf(c);
            if (fallback == '?') {
                out += '?';
            } else {
                out += "\\'";
                out += QByteArray(1, fallback).toHex();
            }
        }
    }
    return out;
}

QByteArray RtfWriter::header()
{
    const PreparedReport& r = m_report;
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\n{\\fonttbl";
    QList<QString> names(m_fonts.size());
    for (auto it = m_fonts.cbegin(); it != m_fonts.cend(); ++it)
        names[it.value()] = it.key();
    for (int i = 0; i < names.size(); ++i)
        out += "{\\f" + num(i) + "\\fswiss\\fcharset204 " + escape(names.at(i)) + ";}";
    out += "}\n{\\colortbl;\\red0\\green0\\blue0;}\n";
    out += "{\\info{\\title " + escape(r.title) + "}}\n";
    const QByteArray w = num(twips(r.paperSize.width()));
    const QByteArray h = num(twips(r.paperSize.height()));
    const QByteArray l = num(twips(r.margins.left()));
    const QByteArray rt = num(twips(r.margins.right()));
    const QByteArray t = num(twips(r.margins.top()));
    const QByteArray b = num(std::max(0, twips(r.margins.bottom()) - twips(ReportUnits::fromMm(kBottomSlackMm))));
    const bool landscape = r.orientation == QPageLayout::Landscape;
    out += "\\paperw" + w + "\\paperh" + h + "\\margl" + l + "\\margr" + rt + "\\margt" + t + "\\margb" + b;
    if (landscape)
        out += "\\landscape";
    out += "\n\\sectd";
    if (landscape)
        out += "\\lndscpsxn";
    out += "\\pgwsxn" + w + "\\pghsxn" + h + "\\marglsxn" + l + "\\margrsxn" + rt + "\\margtsxn" + t + "\\margbsxn" + b
        + "\n";
    return out;
}

void RtfWriter::gapRow(QByteArray& out, double units)
{
    const int t = twips(units);
    if (t <= 0)
        return;
    out += "\\trowd\\trgaph0\\trleft0\\trrh-" + num(t) + "\\cellx" + num(m_contentTwips)
        + "\\pard\\plain\\intbl\\fs2\\cell\\row\n";
}

void RtfWriter::stripRow(QByteArray& out, const PreparedItem* const* items, int count, double top, double bottom,
                         bool grows)
{
    const double left = m_report.margins.left();
    const double right = m_report.paperSize.width() - m_report.margins.right();
    QByteArray cells;
    QByteArray texts;
    double x = left;
    for (int i = 0; i < count; ++i) {
        const PreparedItem& item = *items[i];
        const double l = std::max(item.rect.left(), x);
        const double r = std::min(item.rect.right(), right);
        if (r <= l + kEpsilon)
            continue; // overlaps its left neighbour entirely: cells cannot
        if (l > x + kEpsilon) {
            cells += "\\cellx" + num(twips(l - left));
            texts += "\\pard\\plain\\intbl\\fs2\\cell\n";
        }
        const MemoStyle& s = m_report.style(item.style);
        cells += s.vAlign == MemoStyle::VAlign::Center ? "\\clvertalc" : "\\clvertalt";
        const std::pair<MemoStyle::Frame, const char*> sides[] = {
            {MemoStyle::Top, "t"}, {MemoStyle::Left, "l"}, {MemoStyle::Bottom, "b"}, {MemoStyle::Right, "r"}};
        for (const auto& [frame, side] : sides) {
            if (s.frames & frame)
                cells += QByteArray("\\clbrdr") + side + "\\brdrs\\brdrw" + num(kFrameTwips) + "\\brdrcf1";
        }
        const QByteArray pad = num(kPaddingTwips);
        const QByteArray side = num(item.fillsWidth ? 0 : kPaddingTwips);
        // \\clpadl is the top padding and \\clpadt the left one, as Word reads them.
        cells += "\\clpadl" + pad + "\\clpadfl3\\clpadr" + pad + "\\clpadfr3\\clpadt" + side + "\\clpadft3\\clpadb"
            + side + "\\clpadfb3\\cellx" + num(twips(r - left));

        texts += "\\pard\\plain\\intbl";
        texts += s.hAlign == MemoStyle::HAlign::Center ? "\\qc"
            : s.hAlign == MemoStyle::HAlign::Right     ? "\\qr"
                                                       : "\\ql";
        const int offset = twips(item.rect.top() - top);
        if (offset > 0)
            texts += "\\sb" + num(offset);
        texts += "\\f" + num(fontIndex(s.fontName)) + "\\fs" + num(halfPoints(s.fontHeight));
        if (s.bold)
            texts += "\\b";
        texts += ' ' + escape(item.text) + "\\cell\n";
        x = r;
    }
    // Every row spans the whole width: a word processor stretches the last
    // cell of a shorter row to the table's edge.
    if (twips(right - left) > twips(x - left)) {
        cells += "\\cellx" + num(m_contentTwips);
        texts += "\\pard\\plain\\intbl\\fs2\\cell\n";
    }
    const int height = std::max(1, twips(bottom) - twips(top));
    out += "\\trowd\\trgaph0\\trleft0\\trrh" + num(grows ? height : -height) + cells + "\n" + texts + "\\row\n";
}

void RtfWriter::band(QByteArray& out, const PreparedBand& b, double& cursor)
{
    if (b.rect.top() > cursor + kEpsilon)
        gapRow(out, b.rect.top() - cursor);
    cursor = std::max(cursor, b.rect.top());
    // Items side by side (their heights overlapping) share one table row.
    size_t i = 0;
    std::vector<const PreparedItem*> strip;
    while (i < b.items.size()) {
        const double top = b.items[i].rect.top();
        double bottom = b.items[i].rect.bottom();
        strip.clear();
        while (i < b.items.size() && (strip.empty() || b.items[i].rect.top() < bottom - kEpsilon)) {
            strip.push_back(&b.items[i]);
            bottom = std::max(bottom, b.items[i].rect.bottom());
            ++i;
        }
        std::stable_sort(strip.begin(), strip.end(),
                         [](const PreparedItem* a, const PreparedItem* c) { return a->rect.left() < c->rect.left(); });
        if (top > cursor + kEpsilon)
            gapRow(out, top - cursor);
        const double rowTop = std::max(cursor, top);
        stripRow(out, strip.data(), static_cast<int>(strip.size()), rowTop, bottom, b.stretched);
        cursor = std::max(cursor, bottom);
    }
    if (b.rect.bottom() > cursor + kEpsilon) {
        gapRow(out, b.rect.bottom() - cursor);
        cursor = b.rect.bottom();
    }
}

QByteArray RtfWriter::page(int index)
{
    QByteArray out;
    double cursor = m_report.margins.top();
    for (const PreparedBand& b : m_report.pages.at(static_cast<size_t>(index)).bands)
        band(out, b, cursor);
    if (index + 1 < static_cast<int>(m_report.pages.size()))
        out += "\\pard\\plain\\fs2\\sl-20\\slmult0\\page\\par\n";
    return out;
}

void RtfWriter::write(QIODevice& device, WorkProgress* progress)
{
    device.write(header());
    const int total = static_cast<int>(m_report.pages.size());
    for (int i = 0; i < total; ++i) {
        device.write(page(i));
        advanceOrCancel(progress, i + 1, total);
    }
    device.write(kEnd);
}

QByteArray RtfWriter::toRtf()
{
    QByteArray out = header();
    for (int i = 0; i < static_cast<int>(m_report.pages.size()); ++i)
        out += page(i);
    out += kEnd;
    return out;
}
