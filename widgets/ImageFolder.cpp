#include "widgets/ImageFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

bool alwaysEscaped(char32_t c)
{
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
        return true; // control characters
    if (c >= 0xD800 && c <= 0xDFFF)
        return true; // a lone surrogate: no file system stores it faithfully
    switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case '%':
        return true;
    default:
        return false;
    }
}

// Windows opens a device instead of a folder for these, extension or not.
bool isDeviceName(const std::vector<char32_t>& points)
{
    QString stem;
    for (char32_t c : points) {
        if (c == '.')
            break;
        if (c > 0x7F)
            return false;
        stem += QChar(char16_t(c)).toUpper();
    }
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    static const QStringList names = {
        QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
        QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$"),
    };
    if (names.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
        && stem[3] >= QLatin1Char('0') && stem[3] <= QLatin1Char('9');
}

// %XX for each UTF-8 byte; a lone surrogate gets its plain three-byte form,
// which no valid character encodes to, so the mapping stays one-to-one.
void appendEscaped(QString& out, char32_t c)
{
    unsigned char bytes[4];
    int count = 0;
    if (c < 0x80) {
        bytes[count++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        bytes[count++] = static_cast<unsigned char>(0xC0 | (c >> 6));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes[count++] = static_cast<unsigned char>(0xE0 | (c >> 12));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        bytes[count++] = static_cast<unsigned char>(0xF0 | (c >> 18));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    static const char hex[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        out += QLatin1Char('%');
        out += QLatin1Char(hex[bytes[i] >> 4]);
        out += QLatin1Char(hex[bytes[i] & 0x0F]);
    }
}

void appendPoint(QString& out, char32_t c)
{
    if (c >= 0x10000) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(char16_t(c));
    }
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

QString safeFolderName(const QString& code)
{
    // Escapes always come out as '%' and two upper-case hex digits, so this
    // name is one no code can produce.
    if (code.isEmpty())
        return QStringLiteral("%%");

    std::vector<char32_t> points;
    points.reserve(size_t(code.size()));
    for (qsizetype i = 0; i < code.size(); ++i) {
        char32_t c = code[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < code.size() && code[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(code[i].unicode(), code[i + 1].unicode());
            ++i;
        }
        points.push_back(c);
    }

    // Windows drops trailing blanks and dots; a leading dot makes ".", ".."
    // and hidden folders.
    size_t keptEnd = points.size();
    while (keptEnd > 0 && (points[keptEnd - 1] == ' ' || points[keptEnd - 1] == '.'))
        --keptEnd;
    const bool device = isDeviceName(points);

    QString out;
    for (size_t i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        const bool escape = alwaysEscaped(c) || i >= keptEnd || (i == 0 && (c == '.' || device));
        if (escape)
            appendEscaped(out, c);
        else
            appendPoint(out, c);
    }
    return out;
}

QString toolImagesFolderIn(const QString& dataFolder, const QString& identity)
{
    QString root = dataFolder;
    if (!root.isEmpty() && !root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root + QStringLiteral("Images/") + safeFolderName(identity) + QLatin1Char('/');
}

QString toolImagesFolder(const QString& programFolder, const QString& identity)
{
    QString root = programFolder;
    if (!root.isEmpty() && !root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return toolImagesFolderIn(root + QStringLiteral("Data/"), identity);
}

bool copyPictureInto(const QString& file, const QString& folder, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };

    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return fail(source.errorString());

    std::error_code ec;
    std::filesystem::create_directories(nativePath(folder), ec);
    if (ec)
        return fail(QString::fromLocal8Bit(ec.message()));

    const QString target = QFileInfo(folder + QLatin1Char('/') + QFileInfo(file).fileName()).absoluteFilePath();
    // Choosing a picture that already lies in the folder: removing the
    // "old" copy first would delete the only one.
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == QFileInfo(file).canonicalFilePath())
        return true;

    // Written beside the target and renamed over it at commit, so a failed
    // copy leaves the old file as it was.
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly))
        return fail(copy.errorString());
    QByteArray chunk;
    while (!source.atEnd()) {
        chunk = source.read(1 << 16);
        if (source.error() != QFileDevice::NoError) {
            copy.cancelWriting();
            return fail(source.errorString());
        }
        if (copy.write(chunk) != chunk.size()) {
            const QString text = copy.errorString();
            copy.cancelWriting();
            return fail(text);
        }
    }
    if (!copy.commit())
        return fail(copy.errorString());
    return true;
}
