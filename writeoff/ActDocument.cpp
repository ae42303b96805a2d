#include "ActDocument.h"

#include "ActNumbers.h"
#include "ActTable.h"
#include "PlaceholderText.h"
#include "WordNames.h"
#include "ZipPackage.h"
#include "data/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

namespace {

constexpr qint64 MaxTemplateBytes = 64LL * 1024 * 1024;
const QString MainPart = QStringLiteral("word/document.xml");
const char* const TotalPlaceholder = "#SUMM#";
const char* const NumberPlaceholder = "#NUMBER#";
const char* const DatePlaceholder = "#DATE#";

// Comments and processing instructions are kept, and so is a text that is
// only blanks (<w:t xml:space="preserve"> </w:t>).
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments
    | pugi::parse_ws_pcdata_single;

ActDocumentResult resultOf(ActDocumentError kind, const QString& file, const QString& detail = {})
{
    ActDocumentResult result;
    result.error = kind;
    result.file = file;
    result.detail = detail;
    return result;
}

bool parsePart(const QByteArray& data, pugi::xml_document& part, QString* error)
{
    const pugi::xml_parse_result parsed = part.load_buffer(data.constData(), size_t(data.size()), ParseOptions);
    if (parsed)
        return true;
    *error = QStringLiteral("%1 (offset %2)").arg(QString::fromUtf8(parsed.description())).arg(parsed.offset);
    return false;
}

QByteArray serialized(pugi::xml_document& part)
{
    // Whatever the template's encoding was, the part is written as UTF-8.
    for (pugi::xml_node n : part.children()) {
        if (n.type() == pugi::node_declaration && n.attribute("encoding"))
            n.attribute("encoding").set_value("UTF-8");
    }
    struct Collect : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override
        {
            bytes.append(static_cast<const char*>(data), qsizetype(size));
        }
    } out;
    part.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.bytes;
}

bool isHeaderOrFooter(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^word/(header|footer)[0-9]*\\.xml$"));
    return pattern.match(name).hasMatch();
}

// Written through WholeFileWriter: a failure leaves neither a partial file
// nor a changed earlier one. A folder made here and left empty is removed
// again.
ActDocumentResult save(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    const bool folderExisted = QFileInfo(folder).isDir();
    try {
        WholeFileWriter::makeFolder(folder);
        WholeFileWriter::write(path, [&bytes](QIODevice& device) { device.write(bytes); });
    } catch (const FileWriteError& e) {
        if (!folderExisted)
            QDir().rmdir(folder);
        ActDocumentResult result = resultOf(ActDocumentError::CannotWrite, e.path(), e.systemText());
        result.writeCause = e.cause();
        return result;
    }
    return resultOf(ActDocumentError::None, path);
}

} // namespace

ActDocument::ActDocument(QString programFolder, int languageIndex, QString dataFolder)
    : m_programFolder(std::move(programFolder))
    , m_dataFolder(dataFolder.isEmpty() ? QDir(m_programFolder).filePath(QStringLiteral("Data"))
                                        : std::move(dataFolder))
    , m_languageIndex(languageIndex)
{
}

QString ActDocument::templatePath() const
{
    switch (m_languageIndex) {
    case 0:
        return QDir(m_dataFolder).filePath(QStringLiteral("Templates/AKT_RU.docx"));
    case 1:
        return QDir(m_dataFolder).filePath(QStringLiteral("Templates/AKT_EN.docx"));
    default:
        return {};
    }
}

QString ActDocument::documentPath(int actNumber) const
{
    return QDir(m_programFolder).filePath(QStringLiteral("WriteOff/\u2116_%1_.docx").arg(actNumber));
}

ActDocumentResult ActDocument::create(int actNumber, const QList<ActTool>& tools, const QDate& writeOffDate) const
{
    const bool russian = m_languageIndex == 0;
    return write(templatePath(), documentPath(actNumber), tools, russian,
                 {QString::number(actNumber), actDateText(writeOffDate, russian)});
}

ActDocumentResult ActDocument::write(const QString& templatePath, const QString& documentPath,
                                     const QList<ActTool>& tools, bool russian, const Heading& heading)
{
    if (templatePath.isEmpty() || !QFileInfo(templatePath).isFile())
        return resultOf(ActDocumentError::TemplateNotFound, templatePath);
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly))
        return resultOf(ActDocumentError::TemplateNotFound, templatePath, templateFile.errorString());
    if (templateFile.size() > MaxTemplateBytes)
        return resultOf(ActDocumentError::NotDocx, templatePath,
                        QStringLiteral("%1 bytes, too large").arg(templateFile.size()));
    ZipPackage package;
    if (!package.read(templateFile.readAll()))
        return resultOf(ActDocumentError::NotDocx, templatePath, package.errorString());
    templateFile.close();

    const QByteArray* mainData = package.find(MainPart);
    if (!mainData)
        return resultOf(ActDocumentError::NoMainText, templatePath);
    pugi::xml_document main;
    QString parseError;
    if (!parsePart(*mainData, main, &parseError))
        return resultOf(ActDocumentError::BadXml, templatePath, MainPart + QStringLiteral(": ") + parseError);

    const WordNames names(main);
    ActTable table(main.document_element(), names);
    if (!table.found())
        return resultOf(ActDocumentError::NoTable, templatePath);
    if (const int row = table.shortRow(tools.size())) {
        ActDocumentResult result = resultOf(ActDocumentError::ShortRow, templatePath);
        result.row = row;
        return result;
    }

    // The act's texts go in before the tools, so a tool named "#SUMM#" stays as named.
    const std::string total = actTotalText(actTotal(tools)).toStdString();
    const std::string number = heading.number.toStdString();
    const std::string date = heading.date.toStdString();
    const auto fillIn = [&](const WordNames& partNames, pugi::xml_node part) {
        return PlaceholderText(partNames, TotalPlaceholder, total).replaceIn(part)
            + PlaceholderText(partNames, NumberPlaceholder, number).replaceIn(part)
            + PlaceholderText(partNames, DatePlaceholder, date).replaceIn(part);
    };
    fillIn(names, main);
    table.fill(tools, russian);

    QList<ZipPackage::Entry> changed{{MainPart, serialized(main)}};
    for (const ZipPackage::Entry& entry : package.entries()) {
        if (!isHeaderOrFooter(entry.name))
            continue;
        pugi::xml_document part;
        if (!parsePart(entry.data, part, &parseError))
            return resultOf(ActDocumentError::BadXml, templatePath, entry.name + QStringLiteral(": ") + parseError);
        const WordNames partNames(part);
        if (fillIn(partNames, part) > 0)
            changed.append({entry.name, serialized(part)});
    }
    for (const ZipPackage::Entry& entry : changed)
        package.put(entry.name, entry.data);

    const QByteArray archive = package.write();
    if (archive.isEmpty())
        return resultOf(ActDocumentError::CannotWrite, documentPath, package.errorString());
    return save(documentPath, archive);
}
