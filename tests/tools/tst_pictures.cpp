#include "support/TestData.h"
#include "widgets/ImageFolder.h"
#include "widgets/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

// Left half red, right half blue: shows both that pixels decode and that a
// stretch keeps the halves apart.
QImage twoColours(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, 95))
        qFatal("cannot encode test picture as %s", format);
    return bytes;
}

QByteArray jpeg(const QImage& image)
{
    return encoded(image, "JPG");
}

// Qt cannot write CMYK, so such files come from libjpeg directly. Pixels are
// given as ink amounts; Adobe files store them inverted, as Photoshop does.
QByteArray cmykJpeg(int width, int height, bool adobe)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_CMYK);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(width) * 4);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            // red on the left (magenta + yellow), blue on the right (cyan + magenta)
            const bool left = x < width / 2;
            const int ink[4] = {left ? 0 : 255, 255, left ? 255 : 0, 0};
            for (int i = 0; i < 4; ++i)
                row[size_t(x) * 4 + i] = static_cast<unsigned char>(adobe ? 255 - ink[i] : ink[i]);
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// A JPEG whose frame header claims another size; the data stays the small picture's.
QByteArray withJpegSize(QByteArray bytes, int width, int height)
{
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0)
        qFatal("no baseline frame header");
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

QByteArray withBmpSize(QByteArray bytes, qint32 width, qint32 height)
{
    std::memcpy(bytes.data() + 18, &width, 4);
    std::memcpy(bytes.data() + 22, &height, 4);
    return bytes;
}

bool near(QRgb a, QRgb b, int tolerance = 40)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString describe(QRgb c)
{
    return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstPictures : public QObject
{
    Q_OBJECT

private:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return path;
    }

    QTemporaryDir m_dir;

private slots:
    void loadsPictures_data();
    void loadsPictures();
    void grayJpegStaysGray();
    void rejectsBadFiles_data();
    void rejectsBadFiles();
    void missingOrUnreadable_data();
    void missingOrUnreadable();
    void errorTextsInBothLanguages();

    void resizeStretchesKeepingFormat_data();
    void resizeStretchesKeepingFormat();
    void resizeRefusesEmptySizes();
    void storedPhotoIsBmpOfFixedSize_data();
    void storedPhotoIsBmpOfFixedSize();

    void safeFolderName_data();
    void safeFolderName();
    void folderNamesStayInsideAndDiffer();
    void toolImagesFolder_data();
    void toolImagesFolder();

    void copyCreatesFolderAndReplaces();
    void copyOntoItselfKeepsFile();
    void copyFailures_data();
    void copyFailures();

    void deliveredDefaultPictures_data();
    void deliveredDefaultPictures();
};

void TstPictures::loadsPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("jpeg") << "photo.jpg" << jpeg(twoColours(40, 30));
    QTest::newRow("jpeg named .bmp") << "photo.bmp" << jpeg(twoColours(40, 30));
    QTest::newRow("jpeg, odd size") << "odd.JPG" << jpeg(twoColours(41, 29));
    QTest::newRow("cmyk jpeg, adobe") << "cmyk.jpg" << cmykJpeg(40, 30, true);
    QTest::newRow("cmyk jpeg, plain") << "cmyk2.jpg" << cmykJpeg(40, 30, false);
    QTest::newRow("bmp 24 bit") << "photo.bmp" << encoded(twoColours(40, 30), "BMP");
    QTest::newRow("bmp 8 bit palette") << "pal.bmp" << encoded(twoColours(40, 30, QImage::Format_Indexed8), "BMP");
    QTest::newRow("bmp named .jpg") << "photo.jpg" << encoded(twoColours(41, 29), "BMP");
}

void TstPictures::loadsPictures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);

    const LoadedPicture picture = loadPicture(write(name, bytes));
    QVERIFY2(picture.ok(), qPrintable(picture.message(false)));
    QCOMPARE(picture.error, PictureError::None);
    const QImage reference = QImage::fromData(bytes);
    QCOMPARE(picture.image.size(), reference.size());
    const int y = picture.image.height() / 2;
    const QRgb left = picture.image.pixel(2, y);
    const QRgb right = picture.image.pixel(picture.image.width() - 3, y);
    QVERIFY2(near(left, qRgb(255, 0, 0)), qPrintable(describe(left)));
    QVERIFY2(near(right, qRgb(0, 0, 255)), qPrintable(describe(right)));
}

void TstPictures::grayJpegStaysGray()
{
    QImage gray(30, 20, QImage::Format_Grayscale8);
    gray.fill(200);
    const LoadedPicture picture = loadPicture(write("gray.jpg", jpeg(gray)));
    QVERIFY2(picture.ok(), qPrintable(picture.message(false)));
    QCOMPARE(picture.image.format(), QImage::Format_Grayscale8);
    QVERIFY(qAbs(qGray(picture.image.pixel(10, 10)) - 200) <= 3);
}

void TstPictures::rejectsBadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PictureError>("kind");

    const QByteArray good = jpeg(twoColours(200, 150));
    const QByteArray bmp = encoded(twoColours(40, 30), "BMP");

    QTest::newRow("jpeg cut in half") << "half.jpg" << good.left(good.size() / 2) << PictureError::Damaged;
    QTest::newRow("jpeg without its end") << "end.jpg" << good.chopped(2) << PictureError::Damaged;
    QTest::newRow("jpeg header only") << "head.jpg" << good.left(20) << PictureError::Damaged;
    QTest::newRow("jpeg magic, then garbage")
        << "garbage.jpg" << QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(500, '\x5A') << PictureError::Damaged;
    QTest::newRow("jpeg magic only") << "magic.jpg" << QByteArray("\xFF\xD8\xFF") << PictureError::Damaged;
    QTest::newRow("jpeg claiming 30000 px") << "huge.jpg" << withJpegSize(good, 30000, 100) << PictureError::TooLarge;
    QTest::newRow("jpeg claiming 15000 x 15000")
        << "huge2.jpg" << withJpegSize(good, 15000, 15000) << PictureError::TooLarge;
    QTest::newRow("bmp cut in half") << "half.bmp" << bmp.left(bmp.size() / 2) << PictureError::Damaged;
    QTest::newRow("bmp without its last byte") << "short.bmp" << bmp.chopped(1) << PictureError::Damaged;
    QTest::newRow("palette bmp cut short")
        << "pal.bmp" << encoded(twoColours(40, 30, QImage::Format_Indexed8), "BMP").chopped(40)
        << PictureError::Damaged;
    QTest::newRow("bmp header only") << "head.bmp" << bmp.left(30) << PictureError::Damaged;
    QTest::newRow("bmp magic, then garbage")
        << "garbage.bmp" << QByteArray("BM") + QByteArray(100, '\x07') << PictureError::Damaged;
    QTest::newRow("bmp claiming 50000 px") << "huge.bmp" << withBmpSize(bmp, 50000, 30) << PictureError::TooLarge;
    QTest::newRow("png named .jpg") << "photo.jpg" << encoded(twoColours(10, 10), "PNG") << PictureError::Unsupported;
    QTest::newRow("text") << "notes.bmp" << QByteArray("just some words\n") << PictureError::Unsupported;
    QTest::newRow("empty file") << "empty.jpg" << QByteArray() << PictureError::Damaged;
}

void TstPictures::rejectsBadFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(PictureError, kind);

    const LoadedPicture picture = loadPicture(write(name, bytes));
    QVERIFY(!picture.ok());
    QCOMPARE(picture.error, kind);
    QVERIFY(picture.image.isNull());
    for (bool russian : {false, true}) {
        const QString text = picture.message(russian);
        QVERIFY2(text.startsWith(pictureErrorText(kind, russian)), qPrintable(text));
        QVERIFY2(text.contains(name), qPrintable(text));
    }
}

void TstPictures::missingOrUnreadable_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<PictureError>("kind");

    QTest::newRow("missing") << m_dir.filePath("nothing.jpg") << PictureError::NotFound;
    QTest::newRow("in a missing folder") << m_dir.filePath("none/x.jpg") << PictureError::NotFound;
    QTest::newRow("empty path") << QString() << PictureError::NotFound;
    QTest::newRow("a folder") << m_dir.path() << PictureError::CannotRead;
}

void TstPictures::missingOrUnreadable()
{
    QFETCH(QString, path);
    QFETCH(PictureError, kind);

    const LoadedPicture picture = loadPicture(path);
    QCOMPARE(picture.error, kind);
    QVERIFY(!picture.ok());
    QVERIFY(!picture.message(false).isEmpty());
}

void TstPictures::errorTextsInBothLanguages()
{
    const PictureError kinds[] = {PictureError::NotFound, PictureError::CannotRead, PictureError::Damaged,
                                  PictureError::Unsupported, PictureError::TooLarge};
    QSet<QString> seen;
    for (PictureError kind : kinds) {
        const QString en = pictureErrorText(kind, false);
        const QString ru = pictureErrorText(kind, true);
        QVERIFY(!en.isEmpty());
        QVERIFY(!ru.isEmpty());
        QVERIFY2(ru.contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))), qPrintable(ru));
        seen << en << ru;
    }
    QCOMPARE(seen.size(), 10);
    QVERIFY(pictureErrorText(PictureError::None, false).isEmpty());

    LoadedPicture failed;
    failed.error = PictureError::Damaged;
    failed.fileName = QStringLiteral("a.jpg");
    failed.detail = QStringLiteral("Premature end of JPEG file");
    QCOMPARE(failed.message(false),
             QStringLiteral("The picture file is damaged or incomplete: a.jpg\nPremature end of JPEG file"));
}

void TstPictures::resizeStretchesKeepingFormat_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QSize>("size");

    QTest::newRow("rgb32 wide to tall") << twoColours(400, 20) << QSize(184, 195);
    QTest::newRow("rgb32 tiny up") << twoColours(2, 1) << QSize(184, 195);
    QTest::newRow("rgb888") << twoColours(300, 300, QImage::Format_RGB888) << QSize(129, 137);
    QTest::newRow("argb32") << twoColours(50, 70, QImage::Format_ARGB32) << QSize(184, 195);
    QTest::newRow("indexed8") << twoColours(60, 60, QImage::Format_Indexed8) << QSize(184, 195);
    QTest::newRow("one pixel high") << twoColours(10, 1) << QSize(184, 1);
}

void TstPictures::resizeStretchesKeepingFormat()
{
    QFETCH(QImage, source);
    QFETCH(QSize, size);

    const QImage result = ResizeBitmap(source, size.width(), size.height());
    QCOMPARE(result.size(), size);
    QCOMPARE(result.format(), source.format());
    // Stretched, not cropped or letterboxed: each half keeps its colour
    // right up to the corners.
    const int y = size.height() - 1;
    QVERIFY2(near(result.pixel(0, 0), qRgb(255, 0, 0)), qPrintable(describe(result.pixel(0, 0))));
    QVERIFY2(near(result.pixel(size.width() - 1, y), qRgb(0, 0, 255)),
             qPrintable(describe(result.pixel(size.width() - 1, y))));
    QVERIFY(near(result.pixel(size.width() / 4, y), qRgb(255, 0, 0)));
    QVERIFY(near(result.pixel(size.width() * 3 / 4, 0), qRgb(0, 0, 255)));
}

void TstPictures::resizeRefusesEmptySizes()
{
    QVERIFY(ResizeBitmap(twoColours(10, 10), 0, 10).isNull());
    QVERIFY(ResizeBitmap(twoColours(10, 10), 10, -1).isNull());
    QVERIFY(ResizeBitmap(QImage(), 10, 10).isNull());
    QVERIFY(storedPhoto(QImage()).isEmpty());
}

void TstPictures::storedPhotoIsBmpOfFixedSize_data()
{
    QTest::addColumn<QImage>("source");
    QTest::newRow("large wide") << twoColours(1600, 400);
    QTest::newRow("small") << twoColours(3, 3);
    QTest::newRow("gray") << twoColours(30, 30, QImage::Format_Grayscale8);
    QTest::newRow("decoded jpeg") << QImage::fromData(jpeg(twoColours(640, 480)));
}

void TstPictures::storedPhotoIsBmpOfFixedSize()
{
    QFETCH(QImage, source);

    const QByteArray bytes = storedPhoto(source);
    QVERIFY(bytes.startsWith("BM"));
    QImage back;
    QVERIFY(back.loadFromData(bytes, "BMP"));
    QCOMPARE(back.size(), QSize(184, 195));
    // And it goes through our own loader, as a photo file chosen later would.
    const LoadedPicture again = loadPicture(write("stored.bmp", bytes));
    QVERIFY2(again.ok(), qPrintable(again.message(false)));
    QCOMPARE(again.image.size(), QSize(184, 195));
}

void TstPictures::safeFolderName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("folder");

    QTest::newRow("plain") << "T-0001"
                           << "T-0001";
    QTest::newRow("underscore, inner blank") << "a_b c"
                                             << "a_b c";
    QTest::newRow("cyrillic") << "Дрель №5"
                              << "Дрель №5";
    QTest::newRow("inner dot") << "v1.2"
                               << "v1.2";
    QTest::newRow("leading blank") << " x"
                                   << " x";
    QTest::newRow("outside the BMP") << "🔧1"
                                     << "🔧1";
    QTest::newRow("dot") << "."
                         << "%2E";
    QTest::newRow("dot dot") << ".."
                             << "%2E%2E";
    QTest::newRow("hidden") << ".git"
                            << "%2Egit";
    QTest::newRow("slash") << "a/b"
                           << "a%2Fb";
    QTest::newRow("parent path") << "../x"
                                 << "%2E.%2Fx";
    QTest::newRow("backslash") << "a\\b"
                               << "a%5Cb";
    QTest::newRow("drive") << "C:"
                           << "C%3A";
    QTest::newRow("newline") << "x\ny"
                             << "x%0Ay";
    QTest::newRow("nul") << QString(QChar(0)) << "%00";
    QTest::newRow("delete") << "a\x7F"
                            << "a%7F";
    QTest::newRow("percent") << "%"
                             << "%25";
    QTest::newRow("looks escaped") << "%2F"
                                   << "%252F";
    QTest::newRow("windows specials") << "a*?\"<>|"
                                      << "a%2A%3F%22%3C%3E%7C";
    QTest::newRow("empty") << ""
                           << "%%";
    QTest::newRow("trailing dot") << "abc."
                                  << "abc%2E";
    QTest::newRow("trailing blank") << "abc "
                                    << "abc%20";
    QTest::newRow("trailing run") << "a . ."
                                  << "a%20%2E%20%2E";
    QTest::newRow("blanks only") << "  "
                                 << "%20%20";
    QTest::newRow("cyrillic with colon") << "Ё:1"
                                         << "Ё%3A1";
    QTest::newRow("device") << "CON"
                            << "%43ON";
    QTest::newRow("device, lower case, extension") << "nul.txt"
                                                   << "%6Eul.txt";
    QTest::newRow("port") << "COM1"
                          << "%43OM1";
    QTest::newRow("not a device") << "CONSOLE"
                                  << "CONSOLE";
}

void TstPictures::safeFolderName()
{
    QFETCH(QString, code);
    QFETCH(QString, folder);
    QCOMPARE(::safeFolderName(code), folder);
}

void TstPictures::folderNamesStayInsideAndDiffer()
{
    const QChar loneHigh(char16_t(0xD800));
    const QStringList codes = {
        "",
        ".",
        "..",
        "...",
        "%2E",
        "%2E%2E",
        "%%",
        "%",
        "%25",
        "a/b",
        "a%2Fb",
        "a\\b",
        "a%5Cb",
        "../x",
        "../../etc",
        "/abs",
        "//server/share",
        "\\\\server\\share",
        "C:",
        "C:\\x",
        "~",
        "x.",
        "x%2E",
        "x ",
        "x%20",
        " x",
        "CON",
        "%43ON",
        "con",
        "abc",
        "ABC",
        "\n",
        "%0A",
        QString(QChar(0)),
        "%00",
        QString(loneHigh),
        QString(QChar(0xFFFD)),
        QString(loneHigh) + "a",
        "Дрель",
        "ДРЕЛЬ",
        "🔧",
        "a b",
        "a  b",
        "-",
        "_",
        "*",
        "?",
        "a:b:c",
        ".hidden",
        "%2Ehidden",
    };

    const QString base = QDir(m_dir.filePath("Images")).absolutePath();
    QVERIFY(QDir().mkpath(base));
    QSet<QString> names;
    for (const QString& code : codes) {
        const QString name = ::safeFolderName(code);
        const QString shown = QStringLiteral("code [%1] -> [%2]").arg(code, name);
        QVERIFY2(!name.isEmpty() && name != "." && name != "..", qPrintable(shown));
        QVERIFY2(!name.contains('/') && !name.contains('\\') && !name.contains(QChar(0)), qPrintable(shown));
        const QString path = QDir::cleanPath(QDir(base).filePath(name));
        QVERIFY2(QFileInfo(path).absolutePath() == base, qPrintable(shown));
        // The file system takes it as one new entry of its own.
        QVERIFY2(QDir(base).mkdir(name), qPrintable(shown));
        names.insert(name);
    }
    QCOMPARE(names.size(), QSet<QString>(codes.begin(), codes.end()).size());
    QCOMPARE(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), names.size());

    // Escapes decode back to the code, so no two codes can ever meet.
    for (const QString& code : codes) {
        if (code.isEmpty() || code.contains(loneHigh))
            continue;
        QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(::safeFolderName(code).toUtf8())), code);
    }
}

void TstPictures::toolImagesFolder_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<QString>("folder");

    QTest::newRow("plain") << "/opt/desk/"
                           << "T1"
                           << "/opt/desk/Data/Images/T1/";
    QTest::newRow("no trailing slash") << "/opt/desk"
                                       << "T1"
                                       << "/opt/desk/Data/Images/T1/";
    QTest::newRow("escaping code") << "/opt/desk/"
                                   << "../../x"
                                   << "/opt/desk/Data/Images/%2E.%2F..%2Fx/";
    QTest::newRow("empty code") << "/opt/desk/"
                                << ""
                                << "/opt/desk/Data/Images/%%/";
}

void TstPictures::toolImagesFolder()
{
    QFETCH(QString, program);
    QFETCH(QString, identity);
    QFETCH(QString, folder);
    QCOMPARE(::toolImagesFolder(program, identity), folder);
}

void TstPictures::copyCreatesFolderAndReplaces()
{
    const QString folder = m_dir.filePath("Data/Images/T 1/");
    QVERIFY(!QFileInfo::exists(folder));

    const QString first = write("p.jpg", QByteArray(100000, 'a'));
    QString error;
    QVERIFY2(copyPictureInto(first, folder, &error), qPrintable(error));
    QCOMPARE(readAll(folder + "p.jpg"), QByteArray(100000, 'a'));

    // A shorter file of the same name replaces the old one entirely.
    QVERIFY(QDir().mkpath(m_dir.filePath("other")));
    const QString second = write("other/p.jpg", "new");
    QVERIFY2(copyPictureInto(second, folder, &error), qPrintable(error));
    QCOMPARE(readAll(folder + "p.jpg"), QByteArray("new"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"p.jpg"});
}

void TstPictures::copyOntoItselfKeepsFile()
{
    const QString folder = m_dir.filePath("self");
    QVERIFY(QDir().mkpath(folder));
    const QString file = write("self/a.bmp", "picture");
    QString error;
    QVERIFY2(copyPictureInto(file, folder, &error), qPrintable(error));
    QVERIFY2(copyPictureInto(file, folder + "/./", &error), qPrintable(error));
    QCOMPARE(readAll(file), QByteArray("picture"));
}

void TstPictures::copyFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("folder is a file");
    QTest::newRow("parent is a file");
    QTest::newRow("source missing");
    QTest::newRow("target name is a folder");
}

void TstPictures::copyFailures()
{
    const QString tag = QTest::currentDataTag();
    QTemporaryDir dir;
    const QString source = dir.filePath("pic.jpg");
    {
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("new picture");
    }
    QString folder = dir.filePath("target");
    QVERIFY(QDir().mkpath(folder));
    const QString existing = folder + "/pic.jpg";
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old picture");
    }
    QString keep = existing;
    QByteArray kept = "old picture";

    if (tag == "folder is a file") {
        folder = existing;
    } else if (tag == "parent is a file") {
        folder = existing + "/deeper";
    } else if (tag == "source missing") {
        QVERIFY(QFile::remove(source));
    } else {
        QVERIFY(QFile::remove(existing));
        QVERIFY(QDir().mkpath(existing));
        keep = source;
        kept = "new picture";
    }

    QString error;
    QVERIFY(!copyPictureInto(source, folder, &error));
    QVERIFY2(!error.isEmpty(), "the system's message is given");
    QCOMPARE(readAll(keep), kept);
    if (tag == "target name is a folder")
        QVERIFY(QFileInfo(existing).isDir());
}

void TstPictures::deliveredDefaultPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("tool") << "T.bmp" << QSize(184, 195);
    QTest::newRow("recipient") << "U.bmp" << QSize(129, 137);
}

void TstPictures::deliveredDefaultPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    TestData data;
    const QString path = data.data(name);
    QVERIFY(readAll(path).startsWith("BM"));
    const LoadedPicture picture = loadPicture(path);
    QVERIFY2(picture.ok(), qPrintable(picture.message(false)));
    QCOMPARE(picture.image.size(), size);
    // Something is drawn: the middle differs from the corner.
    const QImage& image = picture.image;
    QVERIFY(!near(image.pixel(0, 0), image.pixel(image.width() / 2, image.height() / 2), 20));
}

QTEST_GUILESS_MAIN(TstPictures)
#include "tst_pictures.moc"
