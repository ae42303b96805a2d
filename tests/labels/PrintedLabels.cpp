#include "PrintedLabels.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <ZXing/ReadBarcode.h>

namespace PrintedLabels {

namespace {

constexpr double kMmPerInch = 25.4;

QString formatName(ZXing::BarcodeFormat f)
{
    switch (f) {
    case ZXing::BarcodeFormat::Code128:
        return QStringLiteral("Code128");
    case ZXing::BarcodeFormat::QRCode:
        return QStringLiteral("QRCode");
    case ZXing::BarcodeFormat::DataMatrix:
        return QStringLiteral("DataMatrix");
    default:
        return QStringLiteral("other");
    }
}

QList<QImage> runPdftoppm(const QStringList& arguments)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            arguments + QStringList{QStringLiteral("-gray"), QStringLiteral("-png")}
                + QStringList{dir.filePath(QStringLiteral("page"))});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return {};
    QList<QImage> pages;
    // pdftoppm pads page numbers to the width of the last one: sorted by name
    // is page order.
    for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name))
        pages << QImage(dir.filePath(name)).convertToFormat(QImage::Format_Grayscale8);
    return pages;
}

} // namespace

QList<QImage> render(const QString& pdf, int dpi)
{
    return runPdftoppm({QStringLiteral("-r"), QString::number(dpi), pdf});
}

QImage renderPart(const QString& pdf, int dpi, const QRectF& mm)
{
    const auto px = [dpi](double v) { return QString::number(qRound(v * dpi / kMmPerInch)); };
    const QList<QImage> pages = runPdftoppm(
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
         QStringLiteral("1"), QStringLiteral("-x"), px(mm.x()), QStringLiteral("-y"), px(mm.y()), QStringLiteral("-W"),
         px(mm.width()), QStringLiteral("-H"), px(mm.height()), pdf});
    return pages.value(0);
}

static QList<Symbol> zxingOnce(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                int(grey.bytesPerLine()));
    QList<Symbol> found;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(view, hints)) {
        if (!r.isValid())
            continue;
        const auto& q = r.position();
        const QPointF centre((q[0].x + q[1].x + q[2].x + q[3].x) / 4.0, (q[0].y + q[1].y + q[2].y + q[3].y) / 4.0);
        found.append({QString::fromStdString(r.text()), formatName(r.format()), centre});
    }
    return found;
}

QList<Symbol> zxing(const QImage& image)
{
    QList<Symbol> found = zxingOnce(image);
    if (!found.isEmpty())
        return found;
    // ZXing-C++ 1.4 looks for a Data Matrix from the middle of the image
    // out and gives up at the label's text: aimed at the upper part of the
    // label, as a hand scanner is aimed at the symbol.
    for (const double top : {0.0, 0.1, 0.2}) {
        for (const double height : {0.5, 0.6, 0.7}) {
            const int y = int(image.height() * top);
            found = zxingOnce(image.copy(0, y, image.width(), int(image.height() * height)));
            if (!found.isEmpty()) {
                for (Symbol& s : found)
                    s.centre.ry() += y;
                return found;
            }
        }
    }
    return found;
}

QStringList zbar(const QImage& image)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.png"));
    image.save(file);
    QProcess p;
    p.start(QStringLiteral("zbarimg"),
            {QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("-Sdisable"),
             QStringLiteral("-Scode128.enable"), QStringLiteral("-Sqrcode.enable"), file});
    if (!p.waitForFinished(120000))
        return {};
    QStringList texts = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return texts;
}

QImage crop(const QImage& image, const QRectF& mm, int dpi)
{
    const double k = dpi / kMmPerInch;
    return image.copy(QRectF(mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k).toRect());
}

QRectF darkArea(const QImage& image, int dpi)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    const double k = kMmPerInch / dpi;
    return QRectF(left * k, top * k, (right + 1 - left) * k, (bottom + 1 - top) * k);
}

} // namespace PrintedLabels
