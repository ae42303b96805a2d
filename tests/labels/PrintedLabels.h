#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

// What a printed label sheet says, read from the PDF as a scanner would see
// the paper: pages rendered by pdftoppm, symbols decoded by ZXing-C++ and by
// zbarimg, never by the encoder that wrote them.
namespace PrintedLabels {

struct Symbol {
    QString text;
    QString format; // "Code128", "QRCode", "DataMatrix"
    QPointF centre; // pixels
};

// Every page of pdf in grey at dpi, in page order; empty when pdftoppm fails.
QList<QImage> render(const QString& pdf, int dpi);
// A part of the first page at dpi, rect in mm.
QImage renderPart(const QString& pdf, int dpi, const QRectF& mm);
// The symbols ZXing-C++ finds in image.
QList<Symbol> zxing(const QImage& image);
// The texts zbarimg finds in image (Code 128 and QR Code), in its own order.
QStringList zbar(const QImage& image);
// The part of image that a box in mm covers at dpi.
QImage crop(const QImage& image, const QRectF& mm, int dpi);
// The bounding box of dark pixels, in mm from the image's top left.
QRectF darkArea(const QImage& image, int dpi);

} // namespace PrintedLabels
