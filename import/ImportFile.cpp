#include "ImportFile.h"

#include "CsvReader.h"
#include "ImportError.h"
#include "XlsxReader.h"
#include "core/Messages.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Larger than any store's register; keeps a wrong file from filling memory.
constexpr qint64 kMostBytes = 256LL * 1024 * 1024;

} // namespace

ImportTable readImportFile(const QString& path, const Messages& texts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(texts.rsImportFileUnreadable.arg(path, file.errorString()));
    if (file.size() > kMostBytes)
        throw ImportError(texts.rsImportFileUnreadable.arg(path, texts.rsImportFileTooLarge));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ImportError(texts.rsImportFileUnreadable.arg(path, file.errorString()));
    try {
        if (bytes.startsWith("PK\x03\x04"))
            return readXlsx(bytes, texts);
        if (bytes.contains('\0'))
            throw ImportError(texts.rsImportNotSpreadsheet);
        return readCsv(bytes, texts);
    } catch (const ImportError& e) {
        throw ImportError(QFileInfo(path).fileName() + QStringLiteral(": ") + e.text());
    }
}
