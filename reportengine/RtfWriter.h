#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class PreparedReport;
class QIODevice;
class WorkProgress;
struct PreparedBand;
struct PreparedItem;

// Writes built pages as RTF that word processors lay out as on screen: the
// paper, orientation and margins of the report; every band as table rows
// with the memos as cells at their places, framed as printed, as tall as
// printed (text a word processor wraps longer is kept but hidden, as in
// print) except in stretched bands, which may grow; the space between them
// as rows of exact height; a page break after each page.
// Text is Unicode (\uN) with a Windows-1251 fallback.
class RtfWriter
{
public:
    explicit RtfWriter(const PreparedReport& report);

    // Throws WorkCancelled when progress was cancelled.
    void write(QIODevice& device, WorkProgress* progress = nullptr);
    QByteArray toRtf();

    // The text as RTF: control characters escaped, the rest as \uN with its
    // Windows-1251 byte (or "?") for readers without Unicode.
    static QByteArray escape(const QString& text);

private:
    QByteArray header();
    QByteArray page(int index);
    void band(QByteArray& out, const PreparedBand& band, double& cursor);
    void gapRow(QByteArray& out, double units);
    void stripRow(QByteArray& out, const PreparedItem* const* items, int count, double top, double bottom, bool grows);
    int fontIndex(const QString& name) const { return m_fonts.value(name); }

    const PreparedReport& m_report;
    QHash<QString, int> m_fonts;
    int m_contentTwips = 0;
};
