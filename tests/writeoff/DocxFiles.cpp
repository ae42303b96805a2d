#include "DocxFiles.h"

#include <QFile>
#include <QtTest>

#include <zip.h>

#include <cstring>
#include <sstream>

namespace docx {

namespace {

const char* const Namespaces = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                               "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\"";

bool named(const pugi::xml_node& n, const char* name)
{
    return std::strcmp(n.name(), name) == 0;
}

} // namespace

QMap<QString, QByteArray> readZip(const QString& path)
{
    QMap<QString, QByteArray> parts;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive)
        return parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        QByteArray data(qsizetype(stat.size), '\0');
        const zip_int64_t got = file ? zip_fread(file, data.data(), stat.size) : -1;
        if (file)
            zip_fclose(file);
        if (got != zip_int64_t(stat.size)) {
            zip_discard(archive);
            return {};
        }
        parts.insert(QString::fromUtf8(stat.name), data);
    }
    zip_discard(archive);
    return parts;
}

bool writeZip(const QString& path, const Parts& parts)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& part : parts) {
        zip_source_t* source = zip_source_buffer(archive, part.second.constData(), zip_uint64_t(part.second.size()), 0);
        if (!source || zip_file_add(archive, part.first.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

QByteArray documentXml(const QString& body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<w:document %1><w:body>%2<w:sectPr/></w:body></w:document>")
        .arg(QLatin1String(Namespaces), body)
        .toUtf8();
}

QByteArray storyXml(const char* root, const QString& content)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<%1 %2>%3</%1>")
        .arg(QLatin1String(root), QLatin1String(Namespaces), content)
        .toUtf8();
}

bool writeTemplate(const QString& path, const QString& body, const Parts& extra)
{
    const QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "</Types>";
    const QByteArray rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>";
    Parts parts{{QStringLiteral("[Content_Types].xml"), types},
                {QStringLiteral("_rels/.rels"), rels},
                {QStringLiteral("word/document.xml"), documentXml(body)}};
    parts += extra;
    return writeZip(path, parts);
}

bool parse(const QByteArray& xml, pugi::xml_document& doc)
{
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.constData(), size_t(xml.size()),
                                                          pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!parsed)
        qWarning("part does not parse: %s at %lld", parsed.description(), static_cast<long long>(parsed.offset));
    return bool(parsed);
}

QString text(const pugi::xml_node& node)
{
    QString out;
    for (const pugi::xpath_node& t : node.select_nodes(".//w:t"))
        out += QString::fromUtf8(t.node().text().get());
    return out;
}

QList<pugi::xml_node> tableRows(const pugi::xml_document& doc)
{
    QList<pugi::xml_node> rows;
    const pugi::xml_node table = doc.select_node("//w:tbl").node();
    for (const pugi::xml_node& row : table.children()) {
        if (named(row, "w:tr"))
            rows.append(row);
    }
    return rows;
}

QList<QStringList> tableTexts(const pugi::xml_document& doc)
{
    QList<QStringList> rows;
    for (const pugi::xml_node& row : tableRows(doc)) {
        QStringList cells;
        for (const pugi::xml_node& cell : row.children()) {
            if (named(cell, "w:tc"))
                cells.append(text(cell));
        }
        rows.append(cells);
    }
    return rows;
}

QStringList paragraphTexts(const pugi::xml_document& doc)
{
    QStringList texts;
    for (const pugi::xpath_node& p : doc.select_nodes("//w:p[not(ancestor::w:tbl)]"))
        texts.append(text(p.node()));
    return texts;
}

QString xml(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return QString::fromStdString(out.str());
}

} // namespace docx
