#include "XlsxReader.h"

#include "ImportError.h"
#include "core/Messages.h"
#include "writeoff/ZipPackage.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <cmath>
#include <pugixml.hpp>

namespace {

QString textOf(const pugi::xml_node& node)
{
    return QString::fromUtf8(node.text().get());
}

// The text of a string item: its own <t>, or the runs' <t> joined.
QString stringItem(const pugi::xml_node& si)
{
    if (pugi::xml_node t = si.child("t"))
        return textOf(t);
    QString text;
    for (pugi::xml_node r = si.child("r"); r; r = r.next_sibling("r"))
        text += textOf(r.child("t"));
    return text;
}

// Parses a part, failing with its name.
void parse(pugi::xml_document& doc, const QByteArray& data, const char* part, const Messages& texts)
{
    const pugi::xml_parse_result result = doc.load_buffer(data.constData(), size_t(data.size()));
    if (!result)
        throw ImportError(texts.rsImportXlsxBroken.arg(QLatin1String(part), QString::fromUtf8(result.description())));
}

QString localName(const char* name)
{
    const QString n = QString::fromUtf8(name);
    const qsizetype colon = n.indexOf(u':');
    return colon < 0 ? n : n.mid(colon + 1);
}

// The first sheet's part: the workbook's first <sheet>, through its relationship.
QString firstSheetPart(const ZipPackage& zip, const Messages& texts)
{
    const QByteArray* workbook = zip.find(QStringLiteral("xl/workbook.xml"));
    if (!workbook)
        throw ImportError(texts.rsImportXlsxBroken.arg(QStringLiteral("xl/workbook.xml"), texts.rsImportPartMissing));
    pugi::xml_document book;
    parse(book, *workbook, "xl/workbook.xml", texts);
    QString relationId;
    for (pugi::xml_node n : book.document_element().children()) {
        if (localName(n.name()) != u"sheets")
            continue;
        for (pugi::xml_node sheet : n.children()) {
            for (pugi::xml_attribute a : sheet.attributes()) {
                if (localName(a.name()) == u"id" && QString::fromUtf8(a.name()) != u"sheetId")
                    relationId = QString::fromUtf8(a.value());
            }
            break;
        }
    }
    const QByteArray* rels = zip.find(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (relationId.isEmpty() || !rels)
        return QStringLiteral("xl/worksheets/sheet1.xml");
    pugi::xml_document relations;
    parse(relations, *rels, "xl/_rels/workbook.xml.rels", texts);
    for (pugi::xml_node r : relations.document_element().children()) {
        if (QString::fromUtf8(r.attribute("Id").value()) != relationId)
            continue;
        const QString target = QString::fromUtf8(r.attribute("Target").value());
        return target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

QStringList sharedStrings(const ZipPackage& zip, const Messages& texts)
{
    QStringList strings;
    const QByteArray* part = zip.find(QStringLiteral("xl/sharedStrings.xml"));
    if (!part)
        return strings;
    pugi::xml_document doc;
    parse(doc, *part, "xl/sharedStrings.xml", texts);
    for (pugi::xml_node si = doc.document_element().child("si"); si; si = si.next_sibling("si"))
        strings << stringItem(si);
    return strings;
}

// For each cell style (the s attribute), whether it shows a date.
QList<bool> dateStyles(const ZipPackage& zip, const Messages& texts)
{
    QList<bool> styles;
    const QByteArray* part = zip.find(QStringLiteral("xl/styles.xml"));
    if (!part)
        return styles;
    pugi::xml_document doc;
    parse(doc, *part, "xl/styles.xml", texts);
    const pugi::xml_node root = doc.document_element();
    QHash<int, QString> codes;
    for (pugi::xml_node f = root.child("numFmts").child("numFmt"); f; f = f.next_sibling("numFmt"))
        codes.insert(f.attribute("numFmtId").as_int(), QString::fromUtf8(f.attribute("formatCode").value()));
    for (pugi::xml_node xf = root.child("cellXfs").child("xf"); xf; xf = xf.next_sibling("xf")) {
        const int id = xf.attribute("numFmtId").as_int();
        styles << isDateFormat(id, codes.value(id));
    }
    return styles;
}

// "BC12" -> 54 (zero-based column), -1 when there are no letters.
int columnOf(const char* reference)
{
    int column = 0;
    int letters = 0;
    for (const char* p = reference; *p; ++p) {
        if (*p >= 'A' && *p <= 'Z')
            column = column * 26 + (*p - 'A' + 1);
        else if (*p >= 'a' && *p <= 'z')
            column = column * 26 + (*p - 'a' + 1);
        else
            break;
        ++letters;
        if (letters > 3)
            return -1;
    }
    return letters ? column - 1 : -1;
}

QString numberText(const QString& raw)
{
    bool ok = false;
    const double v = raw.toDouble(&ok);
    if (!ok)
        return raw;
    // Whole numbers as whole (a code 1001 stays "1001"); fractions as few digits as they need.
    if (std::fabs(v) < 1e15 && v == std::floor(v))
        return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

} // namespace

bool isDateFormat(int id, const QString& code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    // Quoted text, escapes and colours say nothing of dates.
    static const QRegularExpression noise(QStringLiteral(R"("[^"]*"|\\.|\[[^\]]*\])"));
    QString bare = code;
    bare.remove(noise);
    static const QRegularExpression dayOrYear(QStringLiteral("[dDyY]"));
    return bare.contains(dayOrYear);
}

QString spreadsheetDateText(double serial)
{
    // Day 60 is the 29 February 1900 that never was; days after it count one too many.
    const QDate base(1899, 12, 31);
    qint64 day = qint64(std::floor(serial));
    if (day >= 60)
        --day;
    const QDate date = base.addDays(day);
    const double fraction = serial - std::floor(serial);
    const int seconds = int(std::lround(fraction * 86400.0));
    if (seconds == 0 || seconds >= 86400)
        return date.toString(Qt::ISODate);
    return QDateTime(date, QTime(0, 0).addSecs(seconds)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

ImportTable readXlsx(const QByteArray& bytes, const Messages& texts)
{
    ZipPackage zip;
    if (!zip.read(bytes))
        throw ImportError(texts.rsImportXlsxBroken.arg(QStringLiteral("zip"), zip.errorString()));
    const QString sheetPart = firstSheetPart(zip, texts);
    const QByteArray* sheetData = zip.find(sheetPart);
    if (!sheetData)
        throw ImportError(texts.rsImportXlsxBroken.arg(sheetPart, texts.rsImportPartMissing));
    const QStringList strings = sharedStrings(zip, texts);
    const QList<bool> dates = dateStyles(zip, texts);

    pugi::xml_document sheet;
    parse(sheet, *sheetData, qPrintable(sheetPart), texts);
    ImportTable table;
    bool headingDone = false;
    int rowNumber = 0;
    for (pugi::xml_node row = sheet.document_element().child("sheetData").child("row"); row;
         row = row.next_sibling("row")) {
        rowNumber = row.attribute("r") ? row.attribute("r").as_int() : rowNumber + 1;
        QStringList cells;
        bool any = false;
        for (pugi::xml_node c = row.child("c"); c; c = c.next_sibling("c")) {
            int column = c.attribute("r") ? columnOf(c.attribute("r").value()) : int(cells.size());
            if (column < 0 || column > 16383)
                column = int(cells.size());
            const QString type = QString::fromUtf8(c.attribute("t").value());
            QString value;
            if (type == u"s") {
                const int index = c.child("v").text().as_int(-1);
                if (index < 0 || index >= strings.size())
                    throw ImportError(texts.rsImportXlsxBroken.arg(sheetPart, QStringLiteral("sst %1").arg(index)));
                value = strings.at(index);
            } else if (type == u"inlineStr") {
                value = stringItem(c.child("is"));
            } else if (type == u"str" || type == u"e") {
                value = textOf(c.child("v"));
            } else if (type == u"b") {
                value = textOf(c.child("v")) == u"1" ? QStringLiteral("1") : QStringLiteral("0");
            } else if (c.child("v")) {
                const QString raw = textOf(c.child("v"));
                const int style = c.attribute("s").as_int(0);
                bool ok = false;
                const double v = raw.toDouble(&ok);
                value = ok && style < dates.size() && dates.at(style) ? spreadsheetDateText(v) : numberText(raw);
            }
            while (cells.size() < column)
                cells << QString();
            if (cells.size() == column)
                cells << value;
            else
                cells[column] = value;
            any = any || !value.trimmed().isEmpty();
        }
        if (!any)
            continue;
        if (!headingDone) {
            for (QString& h : cells)
                h = h.trimmed();
            table.headings = cells;
            headingDone = true;
        } else {
            table.rows << cells;
            table.lines << rowNumber;
        }
    }
    if (!headingDone)
        throw ImportError(texts.rsImportNoHeadings);
    return table;
}
