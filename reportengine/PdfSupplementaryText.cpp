#include "PdfSupplementaryText.h"

#include "PreparedReport.h"
#include "ReportUnits.h"
#include "TextMeasurer.h"

#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

// Where the samples go: far to the left of the paper, a line apart, in
// report units. Readers take no text from outside the page.
constexpr double kSampleX = -50000;
constexpr double kSampleTop = 1000;
constexpr double kSampleStep = 100;
// Entries of one section of a character map, as the format allows.
constexpr int kEntriesPerSection = 100;

QRegularExpressionMatch find(const QByteArray& text, const QString& pattern)
{
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).match(QString::fromLatin1(text));
}

// The number of an indirect reference "/Key N 0 R" in a dictionary; -1 when none.
int reference(const QByteArray& dictionary, const QString& key)
{
    const auto m = find(dictionary, QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(key));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The objects of a document as Qt writes it: one cross-reference table,
// no object streams. Anything else reads as invalid.
class PdfObjects
{
public:
    explicit PdfObjects(const QByteArray& pdf)
        : m_pdf(pdf)
    {
        const qsizetype at = pdf.lastIndexOf("startxref");
        if (at < 0)
            return;
        const auto start = find(pdf.mid(at, 64), QStringLiteral("^startxref\\s+(\\d+)"));
        if (!start.hasMatch())
            return;
        m_startXref = start.captured(1).toLongLong();
        if (m_startXref < 0 || m_startXref >= pdf.size() || !pdf.mid(m_startXref).startsWith("xref"))
            return;
        const qsizetype trailerAt = pdf.indexOf("trailer", m_startXref);
        if (trailerAt < 0)
            return;
        // Sections "first count" and their entries "offset generation n|f".
        const QList<QByteArray> words = pdf.mid(m_startXref + 4, trailerAt - m_startXref - 4).simplified().split(' ');
        for (qsizetype i = 0; i + 1 < words.size();) {
            const int first = words.at(i).toInt();
            const int count = words.at(i + 1).toInt();
            i += 2;
            for (int n = 0; n < count && i + 2 < words.size(); ++n, i += 3) {
                if (words.at(i + 2) == "n")
                    m_offsets.insert(first + n, words.at(i).toLongLong());
            }
        }
        m_trailer = dictionaryFrom(trailerAt);
        const auto size = find(m_trailer, QStringLiteral("/Size\\s+(\\d+)"));
        m_size = size.hasMatch() ? size.captured(1).toInt() : -1;
    }

    bool valid() const { return !m_offsets.isEmpty() && m_size > 0 && root() > 0; }
    qint64 startXref() const { return m_startXref; }
    int size() const { return m_size; }
    int root() const { return reference(m_trailer, QStringLiteral("Root")); }
    int info() const { return reference(m_trailer, QStringLiteral("Info")); }

    // The dictionary of object number, "<<...>>"; empty when there is none.
    QByteArray dictionary(int number) const
    {
        const qint64 at = m_offsets.value(number, -1);
        if (at < 0 || !m_pdf.mid(at, 32).startsWith(QByteArray::number(number) + " 0 obj"))
            return {};
        return dictionaryFrom(at);
    }

    // The decoded stream of object number; null when it has none.
    QByteArray stream(int number) const
    {
        const QByteArray dict = dictionary(number);
        if (dict.isEmpty())
            return {};
        const qint64 dictAt = m_pdf.indexOf(dict, m_offsets.value(number));
        qsizetype at = m_pdf.indexOf("stream", dictAt + dict.size());
        if (at < 0)
            return {};
        at += 6;
        if (m_pdf.mid(at, 2) == "\r\n")
            at += 2;
        else if (m_pdf.mid(at, 1) == "\n")
            at += 1;
        const auto length = find(dict, QStringLiteral("/Length\\s+(\\d+)(\\s+0\\s+R)?"));
        if (!length.hasMatch())
            return {};
        qint64 size = length.captured(1).toLongLong();
        if (!length.captured(2).isEmpty()) { // the length is an object of its own
            const qint64 lengthAt = m_offsets.value(static_cast<int>(size), -1);
            if (lengthAt < 0)
                return {};
            const auto value = find(m_pdf.mid(lengthAt, 64), QStringLiteral("^\\d+\\s+0\\s+obj\\s+(\\d+)"));
            if (!value.hasMatch())
                return {};
            size = value.captured(1).toLongLong();
        }
        if (size < 0 || at + size > m_pdf.size())
            return {};
        const QByteArray data = m_pdf.mid(at, size);
        if (!dict.contains("/Filter"))
            return data;
        if (!dict.contains("/FlateDecode"))
            return {};
        // qUncompress reads the size first; it grows the buffer as needed.
        QByteArray sized(4, '\0');
        const quint32 guess = static_cast<quint32>(std::min<qint64>(data.size() * 8 + 64, 64 * 1024 * 1024));
        for (int i = 0; i < 4; ++i)
            sized[i] = static_cast<char>((guess >> (24 - 8 * i)) & 0xff);
        return qUncompress(sized + data);
    }

private:
    QByteArray dictionaryFrom(qint64 from) const
    {
        const qsizetype open = m_pdf.indexOf("<<", from);
        if (open < 0)
            return {};
        int depth = 0;
        for (qsizetype i = open; i + 1 < m_pdf.size(); ++i) {
            if (m_pdf.at(i) == '<' && m_pdf.at(i + 1) == '<') {
                ++depth;
                ++i;
            } else if (m_pdf.at(i) == '>' && m_pdf.at(i + 1) == '>') {
                ++i;
                if (--depth == 0)
                    return m_pdf.mid(open, i + 1 - open);
            }
        }
        return {};
    }

    const QByteArray& m_pdf;
    QHash<int, qint64> m_offsets;
    QByteArray m_trailer;
    qint64 m_startXref = -1;
    int m_size = -1;
};

// The glyph numbers a character map names.
QSet<int> namedGlyphs(const QByteArray& map)
{
    QSet<int> named;
    const QString text = QString::fromLatin1(map);
    static const QRegularExpression chars(QStringLiteral("beginbfchar(.*?)endbfchar"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression charEntry(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<[0-9A-Fa-f]*>"));
    for (auto section = chars.globalMatch(text); section.hasNext();) {
        for (auto entry = charEntry.globalMatch(section.next().captured(1)); entry.hasNext();)
            named.insert(entry.next().captured(1).toInt(nullptr, 16));
    }
    static const QRegularExpression ranges(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression rangeEntry(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(?:<[0-9A-Fa-f]*>|\\[[^\\]]*\\])"));
    for (auto section = ranges.globalMatch(text); section.hasNext();) {
        for (auto entry = rangeEntry.globalMatch(section.next().captured(1)); entry.hasNext();) {
            const auto m = entry.next();
            const int last = m.captured(2).toInt(nullptr, 16);
            for (int g = m.captured(1).toInt(nullptr, 16); g <= last; ++g)
                named.insert(g);
        }
    }
    return named;
}

QByteArray utf16Hex(char32_t character)
{
    QByteArray hex;
    for (const QChar unit : QString::fromUcs4(&character, 1))
        hex += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}

} // namespace

PdfSupplementaryText::PdfSupplementaryText(const PreparedReport& report)
    : m_report(report)
{
    addPages(report);
}

void PdfSupplementaryText::addPages(const PreparedReport& report)
{
    for (const PreparedPage& page : report.pages) {
        for (const PreparedBand& band : page.bands) {
            for (const PreparedItem& item : band.items) {
                for (const QString& line : item.lines) {
                    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
                        if (!line.at(i).isHighSurrogate() || !line.at(i + 1).isLowSurrogate())
                            continue;
                        const char32_t c = QChar::surrogateToUcs4(line.at(i), line.at(i + 1));
                        if (m_seen.insert({item.style, c}).second)
                            m_samples.push_back({item.style, c});
                        ++i;
                    }
                }
            }
        }
    }
}

void PdfSupplementaryText::drawSamples(QPainter& painter, double dpiX, double dpiY) const
{
    painter.save();
    painter.scale(dpiX / ReportUnits::kDpi, dpiY / ReportUnits::kDpi); // as the pages are painted
    painter.setPen(Qt::black);
    for (size_t k = 0; k < m_samples.size(); ++k) {
        const Sample& s = m_samples[k];
        painter.setFont(TextMeasurer::fontOf(m_report.style(s.style)));
        painter.drawText(QPointF(kSampleX, kSampleTop + static_cast<double>(k) * kSampleStep),
                         QString::fromUcs4(&s.character, 1));
    }
    painter.restore();
}

QByteArray PdfSupplementaryText::named(const QByteArray& pdf, SamplesOn on) const
{
    const PdfObjects objects(pdf);
    if (m_samples.empty() || !objects.valid())
        return pdf;
    const int pages = reference(objects.dictionary(objects.root()), QStringLiteral("Pages"));
    const auto kids = find(objects.dictionary(pages), QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
    if (!kids.hasMatch())
        return pdf;
    static const QRegularExpression kid(QStringLiteral("(\\d+)\\s+0\\s+R"));
    int sampled = 0;
    for (auto k = kid.globalMatch(kids.captured(1)); k.hasNext();) {
        sampled = k.next().captured(1).toInt();
        if (on == SamplesOn::FirstPage)
            break;
    }
    if (sampled <= 0)
        return pdf;
    const QByteArray page = objects.dictionary(sampled);
    const QByteArray content = objects.stream(reference(page, QStringLiteral("Contents")));
    const int resourcesObject = reference(page, QStringLiteral("Resources"));
    const QByteArray resources = resourcesObject > 0 ? objects.dictionary(resourcesObject) : page;
    if (content.isEmpty() || resources.isEmpty())
        return pdf;

    // Font object -> glyph number -> character; 0 where samples disagree.
    std::map<int, std::map<int, char32_t>> names;
    QHash<int, QSet<int>> namedByFont; // what each font's map names already
    QHash<int, int> mapOfFont;         // the font's character map object
    static const QRegularExpression block(QStringLiteral("\\bBT\\b(.*?)\\bET\\b"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression fontUse(QStringLiteral("/(\\S+)\\s+[-\\d.]+\\s+Tf"));
    static const QRegularExpression matrix(QStringLiteral("(-?[\\d.]+)\\s+-?[\\d.]+\\s+-?[\\d.]+\\s+(-?[\\d.]+)\\s+"
                                                          "(-?[\\d.]+)\\s+(-?[\\d.]+)\\s+Tm"));
    static const QRegularExpression place(QStringLiteral("(-?[\\d.]+)\\s+(-?[\\d.]+)\\s+Td"));
    static const QRegularExpression glyphs(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (auto b = block.globalMatch(QString::fromLatin1(content)); b.hasNext();) {
        const QString text = b.next().captured(1);
        const auto font = fontUse.match(text);
        const auto m = matrix.match(text);
        const auto at = place.match(text, m.capturedEnd());
        if (!font.hasMatch() || !m.hasMatch() || !at.hasMatch())
            continue;
        // Where the text starts on the painter: the text matrix scales the
        // place (a bold face made by stretching one) and turns y upwards.
        const double x = m.captured(1).toDouble() * at.captured(1).toDouble() + m.captured(3).toDouble();
        const double y = m.captured(2).toDouble() * at.captured(2).toDouble() + m.captured(4).toDouble();
        if (std::abs(x - kSampleX) > 1)
            continue;
        const double offset = (y - kSampleTop) / kSampleStep;
        const long k = std::lround(offset);
        if (std::abs(offset - static_cast<double>(k)) > 0.01 || k < 0 || k >= static_cast<long>(m_samples.size()))
            continue;
        const int fontObject = reference(resources, QRegularExpression::escape(font.captured(1)));
        if (fontObject <= 0)
            continue;
        if (!mapOfFont.contains(fontObject)) {
            const int map = reference(objects.dictionary(fontObject), QStringLiteral("ToUnicode"));
            const QByteArray mapText = map > 0 ? objects.stream(map) : QByteArray();
            if (!mapText.contains("endcmap"))
                continue;
            mapOfFont.insert(fontObject, map);
            namedByFont.insert(fontObject, namedGlyphs(mapText));
        }
        // The sample's first glyph the map does not name is its character.
        for (auto g = glyphs.globalMatch(text); g.hasNext();) {
            const QString hex = g.next().captured(1);
            bool given = false;
            for (qsizetype i = 0; i + 4 <= hex.size() && !given; i += 4) {
                const int glyph = QStringView(hex).mid(i, 4).toInt(nullptr, 16);
                if (namedByFont.value(fontObject).contains(glyph))
                    continue;
                auto& fontNames = names[fontObject];
                const char32_t character = m_samples[static_cast<size_t>(k)].character;
                const auto [it, inserted] = fontNames.emplace(glyph, character);
                if (!inserted && it->second != character)
                    it->second = 0;
                given = true;
            }
            if (given)
                break;
        }
    }

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    std::map<int, qint64> written;
    for (const auto& [fontObject, glyphNames] : names) {
        QList<QByteArray> entries;
        for (const auto& [glyph, character] : glyphNames) {
            if (character != 0)
                entries << "<" + QByteArray::number(glyph, 16).rightJustified(4, '0').toUpper() + "> <"
                        + utf16Hex(character) + ">\n";
        }
        if (entries.isEmpty())
            continue;
        const int map = mapOfFont.value(fontObject);
        QByteArray text = objects.stream(map);
        QByteArray sections;
        for (qsizetype i = 0; i < entries.size(); i += kEntriesPerSection) {
            const qsizetype n = std::min<qsizetype>(kEntriesPerSection, entries.size() - i);
            sections += QByteArray::number(n) + " beginbfchar\n";
            for (qsizetype j = i; j < i + n; ++j)
                sections += entries.at(j);
            sections += "endbfchar\n";
        }
        text.insert(text.lastIndexOf("endcmap"), sections);
        written[map] = out.size();
        out += QByteArray::number(map) + " 0 obj\n<<\n/Length " + QByteArray::number(text.size()) + "\n>>\nstream\n"
            + text + "\nendstream\nendobj\n";
    }
    if (written.empty())
        return pdf;
    // An update: the new maps replace the old, which stay in the file unread.
    const qint64 xref = out.size();
    out += "xref\n";
    for (const auto& [number, offset] : written)
        out += QByteArray::number(number) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0')
            + " 00000 n\r\n";
    out += "trailer\n<<\n/Size " + QByteArray::number(objects.size()) + "\n/Root " + QByteArray::number(objects.root())
        + " 0 R\n";
    if (objects.info() > 0)
        out += "/Info " + QByteArray::number(objects.info()) + " 0 R\n";
    out += "/Prev " + QByteArray::number(objects.startXref()) + "\n>>\nstartxref\n" + QByteArray::number(xref)
        + "\n%%EOF\n";
    return out;
}
