// Packs the XML sources of a delivered Word document into a docx:
// make_docx <out.docx> <folder>... ; a file in a later folder replaces the
// one of the same path in an earlier folder. Every part must be well-formed
// XML, so a broken source fails the build instead of the user's Word.
#include "writeoff/ZipPackage.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSaveFile>

#include <pugixml.hpp>

#include <cstdio>

namespace {

const QString ContentTypes = QStringLiteral("[Content_Types].xml");

bool collect(const QString& folder, QMap<QString, QByteArray>& parts)
{
    const QDir root(folder);
    if (!root.exists()) {
        std::fprintf(stderr, "make_docx: no folder %s\n", qPrintable(folder));
        return false;
    }
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make_docx: %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            return false;
        }
        const QByteArray data = file.readAll();
        pugi::xml_document check;
        const pugi::xml_parse_result parsed = check.load_buffer(data.constData(), size_t(data.size()));
        if (!parsed) {
            std::fprintf(stderr, "make_docx: %s: %s at offset %lld\n", qPrintable(path), parsed.description(),
                         static_cast<long long>(parsed.offset));
            return false;
        }
        parts.insert(root.relativeFilePath(path), data);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_docx <out.docx> <folder>...\n");
        return 2;
    }
    QMap<QString, QByteArray> parts;
    for (int i = 2; i < argc; ++i) {
        if (!collect(QString::fromLocal8Bit(argv[i]), parts))
            return 1;
    }
    if (!parts.contains(ContentTypes)) {
        std::fprintf(stderr, "make_docx: no %s\n", qPrintable(ContentTypes));
        return 1;
    }
    // The content types first, as Word writes them; the rest by path. A fixed
    // time keeps the delivered file the same from build to build.
    ZipPackage package;
    package.put(ContentTypes, parts.take(ContentTypes));
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        package.put(it.key(), it.value());
    const QByteArray archive = package.write(QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QSaveFile file(out);
    if (archive.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size()
        || !file.commit()) {
        std::fprintf(stderr, "make_docx: cannot write %s: %s\n", qPrintable(out),
                     qPrintable(archive.isEmpty() ? package.errorString() : file.errorString()));
        return 1;
    }
    return 0;
}
