#include "widgets/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// A photo is shrunk to 184 x 195 anyway; these limits only stop a hostile or
// broken header from making us allocate gigabytes (108 MP cameras still pass).
constexpr qint64 MaxSide = 20000;
constexpr qint64 MaxPixels = 120'000'000;
constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

bool tooLarge(qint64 width, qint64 height)
{
    return width > MaxSide || height > MaxSide || width * height > MaxPixels;
}

QString sizeText(qint64 width, qint64 height)
{
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

LoadedPicture failure(PictureError kind, const QString& path, const QString& detail = {})
{
    LoadedPicture result;
    result.error = kind;
    result.fileName = QFileInfo(path).fileName();
    result.detail = detail;
    return result;
}

// libjpeg reports through these hooks. error_exit must not return (the
// default one calls exit()), so both jump back into the decoder; a warning
// means the data was cut or corrupt and libjpeg would fill the rest with grey.
enum JumpReason { NoJump = 0, FatalError = 1, Warning = 2 };

struct JpegErrors {
    jpeg_error_mgr pub; // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    int reason;
    char text[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->text);
    errors->reason = FatalError;
    std::longjmp(errors->jump, 1);
}

void jpegEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace output, not a problem
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    ++info->err->num_warnings;
    (*info->err->format_message)(info, errors->text);
    errors->reason = Warning;
    std::longjmp(errors->jump, 1);
}

// Each step that calls into libjpeg sets its own jump point and creates no
// C++ object after it, so a longjmp skips no destructor.
class JpegDecoder
{
public:
    JpegDecoder()
    {
        std::memset(&m_info, 0, sizeof m_info);
        std::memset(&m_errors, 0, sizeof m_errors);
        m_info.err = jpeg_std_error(&m_errors.pub);
        m_errors.pub.error_exit = jpegErrorExit;
        m_errors.pub.emit_message = jpegEmitMessage;
    }
    ~JpegDecoder() { jpeg_destroy_decompress(&m_info); }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    int readHeader(const unsigned char* data, unsigned long size)
    {
        if (setjmp(m_errors.jump))
            return m_errors.reason;
        jpeg_create_decompress(&m_info);
        jpeg_mem_src(&m_info, data, size);
        jpeg_read_header(&m_info, TRUE);
        switch (m_info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            m_info.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            m_info.out_color_space = JCS_CMYK;
            break;
        default:
            m_info.out_color_space = JCS_RGB;
            break;
        }
        jpeg_calc_output_dimensions(&m_info);
        return NoJump;
    }

    bool cmyk() const { return m_info.out_color_space == JCS_CMYK; }
    bool gray() const { return m_info.out_color_space == JCS_GRAYSCALE; }

    // Decodes straight into the image's rows; CMYK rows are turned into RGB32
    // in place (4 bytes in, 4 bytes out per pixel).
    int readPixels(unsigned char* bits, qsizetype bytesPerLine)
    {
        const bool fromCmyk = cmyk();
        // Photoshop writes CMYK inverted and marks it with an Adobe segment.
        const bool inverted = m_info.saw_Adobe_marker;
        if (setjmp(m_errors.jump))
            return m_errors.reason;
        jpeg_start_decompress(&m_info);
        while (m_info.output_scanline < m_info.output_height) {
            JSAMPROW row = bits + qsizetype(m_info.output_scanline) * bytesPerLine;
            if (jpeg_read_scanlines(&m_info, &row, 1) != 1)
                break;
            if (fromCmyk)
                cmykRowToRgb(row, m_info.output_width, inverted);
        }
        jpeg_finish_decompress(&m_info);
        return NoJump;
    }

    unsigned width() const { return m_info.output_width; }
    unsigned height() const { return m_info.output_height; }
    int messageCode() const { return m_errors.pub.msg_code; }
    QString messageText() const { return QString::fromLocal8Bit(m_errors.text); }

private:
    static void cmykRowToRgb(unsigned char* row, unsigned width, bool inverted)
    {
        auto* out = reinterpret_cast<QRgb*>(row);
        for (unsigned x = 0; x < width; ++x) {
            int c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        }
    }

    jpeg_decompress_struct m_info;
    JpegErrors m_errors;
};

PictureError jpegFailureKind(int reason, int code)
{
    if (reason == Warning)
        return PictureError::Damaged;
    switch (code) {
    case JERR_BAD_PRECISION:
    case JERR_NOT_COMPILED:
    case JERR_SOF_UNSUPPORTED:
        return PictureError::Unsupported;
    case JERR_IMAGE_TOO_BIG:
    case JERR_OUT_OF_MEMORY:
        return PictureError::TooLarge;
    default:
        return PictureError::Damaged;
    }
}

LoadedPicture loadJpeg(QFile& file, const QString& path)
{
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(PictureError::CannotRead, path, file.errorString());

    JpegDecoder decoder;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    int reason = decoder.readHeader(bytes, static_cast<unsigned long>(data.size()));
    if (reason != NoJump)
        return failure(jpegFailureKind(reason, decoder.messageCode()), path, decoder.messageText());
    if (decoder.width() == 0 || decoder.height() == 0)
        return failure(PictureError::Damaged, path);
    if (tooLarge(decoder.width(), decoder.height()))
        return failure(PictureError::TooLarge, path, sizeText(decoder.width(), decoder.height()));

    const QImage::Format format = decoder.gray() ? QImage::Format_Grayscale8
        : decoder.cmyk()                         ? QImage::Format_RGB32
                                                 : QImage::Format_RGB888;
    LoadedPicture result;
    result.image = QImage(int(decoder.width()), int(decoder.height()), format);
    if (result.image.isNull())
        return failure(PictureError::TooLarge, path, sizeText(decoder.width(), decoder.height()));
    reason = decoder.readPixels(result.image.bits(), result.image.bytesPerLine());
    if (reason != NoJump)
        return failure(jpegFailureKind(reason, decoder.messageCode()), path, decoder.messageText());
    result.fileName = QFileInfo(path).fileName();
    return result;
}

quint32 littleEndian(const QByteArray& bytes, int offset, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | uchar(bytes[offset + i]);
    return value;
}

// Qt reads a BMP cut short without complaint and leaves the missing rows
// blank; for uncompressed pixels the header tells how many bytes must follow.
bool bmpPixelsComplete(const QByteArray& head, qint64 fileSize)
{
    if (head.size() < 26)
        return false;
    const qint64 offset = littleEndian(head, 10, 4);
    const quint32 headerSize = littleEndian(head, 14, 4);
    qint64 width, height, bits;
    if (headerSize == 12) {
        width = littleEndian(head, 18, 2);
        height = littleEndian(head, 20, 2);
        bits = littleEndian(head, 24, 2);
    } else {
        if (head.size() < 34)
            return false;
        const quint32 compression = littleEndian(head, 30, 4);
        if (compression != 0 && compression != 3 && compression != 6)
            return true; // run-length data: its length is not known up front
        width = qAbs(qint32(littleEndian(head, 18, 4)));
        height = qAbs(qint32(littleEndian(head, 22, 4)));
        bits = littleEndian(head, 28, 2);
    }
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return fileSize >= offset + rowBytes * height;
}

LoadedPicture loadBmp(QFile& file, const QString& path)
{
    const QByteArray head = file.peek(64);
    QImageReader reader(&file, "bmp");
    reader.setAllocationLimit(int(MaxPixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size.width(), size.height()))
        return failure(PictureError::TooLarge, path, sizeText(size.width(), size.height()));
    if (size.isValid() && !bmpPixelsComplete(head, file.size()))
        return failure(PictureError::Damaged, path);
    LoadedPicture result;
    result.image = reader.read();
    if (result.image.isNull()) {
        if (file.error() != QFileDevice::NoError)
            return failure(PictureError::CannotRead, path, file.errorString());
        return failure(PictureError::Damaged, path, reader.errorString());
    }
    result.fileName = QFileInfo(path).fileName();
    return result;
}

} // namespace

QString pictureErrorText(PictureError kind, bool russian)
{
    switch (kind) {
    case PictureError::None:
        return {};
    case PictureError::NotFound:
        return russian ? QStringLiteral("Файл изображения не найден")
                       : QStringLiteral("The picture file was not found");
    case PictureError::CannotRead:
        return russian ? QStringLiteral("Не удаётся прочитать файл изображения")
                       : QStringLiteral("The picture file cannot be read");
    case PictureError::Damaged:
        return russian ? QStringLiteral("Файл изображения повреждён или неполон")
                       : QStringLiteral("The picture file is damaged or incomplete");
    case PictureError::Unsupported:
        return russian ? QStringLiteral("Формат изображения не поддерживается (нужен JPEG или BMP)")
                       : QStringLiteral("Unsupported picture format (JPEG or BMP expected)");
    case PictureError::TooLarge:
        return russian ? QStringLiteral("Изображение слишком большое") : QStringLiteral("The picture is too large");
    }
    return {};
}

QString LoadedPicture::message(bool russian) const
{
    QString text = pictureErrorText(error, russian);
    if (text.isEmpty())
        return text;
    if (!fileName.isEmpty())
        text += QStringLiteral(": ") + fileName;
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    return text;
}

LoadedPicture loadPicture(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return failure(PictureError::NotFound, path);
    if (info.isDir())
        return failure(PictureError::CannotRead, path);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(PictureError::CannotRead, path, file.errorString());
    if (file.size() > MaxFileBytes)
        return failure(PictureError::TooLarge, path);

    // The extension may lie (a renamed PNG, a JPEG saved as .bmp): trust the bytes.
    const QByteArray head = file.peek(3);
    if (file.error() != QFileDevice::NoError)
        return failure(PictureError::CannotRead, path, file.errorString());
    if (head.isEmpty())
        return failure(PictureError::Damaged, path);
    if (head.size() == 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 && uchar(head[2]) == 0xFF)
        return loadJpeg(file, path);
    if (head.startsWith("BM"))
        return loadBmp(file, path);
    return failure(PictureError::Unsupported, path);
}

QImage ResizeBitmap(const QImage& source, int width, int height)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return {};
    QImage result = source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (result.format() == source.format())
        return result;
    // Smooth scaling works in 32 bits; palette images go back onto their own palette.
    if (!source.colorTable().isEmpty())
        return result.convertToFormat(source.format(), source.colorTable());
    return result.convertToFormat(source.format());
}

QByteArray storedPhoto(const QImage& image)
{
    const QImage scaled = ResizeBitmap(image, StoredPhotoWidth, StoredPhotoHeight);
    if (scaled.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!scaled.save(&buffer, "BMP"))
        return {};
    return bytes;
}
