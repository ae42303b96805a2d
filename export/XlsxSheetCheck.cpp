#include "XlsxSheetCheck.h"

#include <QFile>
#include <zlib.h>

namespace {

const QByteArray kSheet = QByteArrayLiteral("xl/worksheets/sheet1.xml");
const QByteArray kRow = QByteArrayLiteral("<row ");
const QByteArray kEnd = QByteArrayLiteral("</worksheet>");

quint32 u16(const QByteArray& b, qsizetype at)
{
    return quint32(quint8(b.at(at))) | quint32(quint8(b.at(at + 1))) << 8;
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return u16(b, at) | u16(b, at + 2) << 16;
}

struct Entry {
    quint32 method = 0;
    quint32 packed = 0;
    qsizetype data = -1; // where the packed bytes start
};

// The sheet's entry through the central directory (the local headers may
// leave their sizes to a descriptor after the data).
Entry findSheet(const QByteArray& zip)
{
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + 22 > zip.size())
        return {};
    qsizetype at = u32(zip, end + 16);
    const quint32 entries = u16(zip, end + 10);
    for (quint32 i = 0; i < entries && at + 46 <= zip.size() && u32(zip, at) == 0x02014b50; ++i) {
        const quint32 nameLength = u16(zip, at + 28);
        const quint32 next = 46 + nameLength + u16(zip, at + 30) + u16(zip, at + 32);
        if (zip.mid(at + 46, nameLength) == kSheet) {
            const qsizetype local = u32(zip, at + 42);
            if (local + 30 > zip.size() || u32(zip, local) != 0x04034b50)
                return {};
            return {u16(zip, at + 10), u32(zip, at + 20), local + 30 + u16(zip, local + 26) + u16(zip, local + 28)};
        }
        at += next;
    }
    return {};
}

} // namespace

QString xlsxSheetCheck(const QString& path, qint64 rows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray zip = file.readAll();
    const Entry sheet = findSheet(zip);
    if (sheet.data < 0 || sheet.data + sheet.packed > zip.size() || (sheet.method != 8 && sheet.method != 0))
        return QStringLiteral("the sheet is missing from the file");

    // Counts the rows as the sheet unpacks, keeping a few bytes across pieces
    // so a row's tag split between two is counted once.
    qint64 found = 0;
    QByteArray tail;
    auto take = [&](const char* data, qsizetype size) {
        QByteArray piece = tail + QByteArray::fromRawData(data, size);
        for (qsizetype at = piece.indexOf(kRow); at >= 0; at = piece.indexOf(kRow, at + kRow.size()))
            ++found;
        const qsizetype keep = std::min<qsizetype>(piece.size(), kEnd.size());
        tail = piece.right(keep);
        // A tag in the kept bytes is counted again with the next piece.
        if (tail.contains(kRow))
            --found;
    };
    bool whole = false;
    if (sheet.method == 0) {
        take(zip.constData() + sheet.data, sheet.packed);
        whole = true;
    } else {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return QStringLiteral("zlib did not start");
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.constData() + sheet.data));
        z.avail_in = sheet.packed;
        QByteArray out(256 * 1024, Qt::Uninitialized);
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            status = inflate(&z, Z_NO_FLUSH);
            take(out.constData(), out.size() - z.avail_out);
        }
        inflateEnd(&z);
        whole = status == Z_STREAM_END;
    }
    if (!whole || !tail.endsWith(kEnd))
        return QStringLiteral("the sheet is cut short");
    if (found != rows)
        return QStringLiteral("the sheet holds %1 of the %2 rows written").arg(found).arg(rows);
    return {};
}
