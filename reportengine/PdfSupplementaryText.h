#pragma once

#include <QByteArray>
#include <set>
#include <utility>
#include <vector>

class PreparedReport;
class QPainter;

// Qt's PDF writer names the glyphs of the fonts it embeds (the names that
// readers copy, search and extract text by) only for characters of the
// Basic Multilingual Plane: an emoji, or another character beyond it, is
// drawn but reads as nothing. This draws each such character of a report
// once outside the paper, where no reader takes text from, finds in the
// written document the glyph of the font the writer used for it, and adds
// its name to that font's map in an update appended to the document.
class PdfSupplementaryText
{
public:
    // The characters of every page report holds now.
    explicit PdfSupplementaryText(const PreparedReport& report);
    // Adds those of the pages report holds now (built and written page by
    // page); report keeps its styles meanwhile.
    void addPages(const PreparedReport& report);

    // Whether the report prints any such character.
    bool needed() const { return !m_samples.empty(); }
    // Draws the samples on the page being painted, in the fonts their
    // memos print them in, scaled as ReportPainter scales the pages; the
    // painter's state is kept.
    void drawSamples(QPainter& painter, double dpiX, double dpiY) const;
    // Where drawSamples() drew: the first page when the pages are known
    // beforehand, the last when they were written as built.
    enum class SamplesOn { FirstPage, LastPage };
    // The written document with the samples' characters named; the
    // document unchanged where it is not laid out as Qt writes it.
    QByteArray named(const QByteArray& pdf, SamplesOn on = SamplesOn::FirstPage) const;

private:
    struct Sample {
        int style = 0;
        char32_t character = 0;
    };

    const PreparedReport& m_report;
    std::vector<Sample> m_samples;
    std::set<std::pair<int, char32_t>> m_seen;
};
