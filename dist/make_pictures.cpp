// Draws the default photos of a new tool (T.bmp) and a new recipient (U.bmp).
// Shapes only, no text, so no fonts or window system are needed.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <cstdio>

namespace {

QImage toolPicture()
{
    QImage image(184, 195, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, image.height());
    background.setColorAt(0, QColor(0xF4, 0xF7, 0xFA));
    background.setColorAt(1, QColor(0xD9, 0xE1, 0xEA));
    p.fillRect(image.rect(), background);

    // An open-end wrench lying diagonally: a bar with a ring head at each
    // end, each head cut by a jaw slot.
    auto rounded = [](const QRectF& r, qreal radius) {
        QPainterPath path;
        path.addRoundedRect(r, radius, radius);
        return path;
    };
    auto circle = [](QPointF centre, qreal radius) {
        QPainterPath path;
        path.addEllipse(centre, radius, radius);
        return path;
    };
    auto box = [](const QRectF& r) {
        QPainterPath path;
        path.addRect(r);
        return path;
    };
    const QPainterPath jaws = box(QRectF(-96, -9, 36, 18))
                                  .united(circle(QPointF(-62, 0), 9))
                                  .united(box(QRectF(66, -7, 30, 14)))
                                  .united(circle(QPointF(66, 0), 7));
    const QPainterPath wrench = rounded(QRectF(-62, -10, 124, 20), 8)
                                    .united(circle(QPointF(-64, 0), 24))
                                    .united(circle(QPointF(64, 0), 20))
                                    .subtracted(jaws);

    QTransform place;
    place.translate(92, 98);
    place.rotate(-45);
    const QPainterPath shape = place.map(wrench);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(shape.translated(4, 5)); // soft shadow

    QLinearGradient steel(40, 40, 150, 150);
    steel.setColorAt(0, QColor(0xE8, 0xEC, 0xF0));
    steel.setColorAt(0.5, QColor(0x9C, 0xA8, 0xB4));
    steel.setColorAt(1, QColor(0x5E, 0x6A, 0x76));
    p.setBrush(steel);
    p.setPen(QPen(QColor(0x3C, 0x46, 0x50), 2));
    p.drawPath(shape);

    // A groove along the handle.
    QPainterPath groove;
    groove.addRoundedRect(QRectF(-34, -3, 68, 6), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x55, 0x60, 160));
    p.drawPath(place.map(groove));
    p.end();
    return image;
}

QImage personPicture()
{
    QImage image(129, 137, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient background(64, 50, 110);
    background.setColorAt(0, QColor(0xF2, 0xF5, 0xF8));
    background.setColorAt(1, QColor(0xCF, 0xD8, 0xE2));
    p.fillRect(image.rect(), background);

    const QColor figure(0x7A, 0x88, 0x98);
    p.setPen(Qt::NoPen);
    p.setBrush(figure);

    // Shoulders: the top of a wide rounded body cut by the picture's bottom.
    QPainterPath body;
    body.moveTo(10, 137);
    body.cubicTo(10, 104, 34, 88, 64.5, 88);
    body.cubicTo(95, 88, 119, 104, 119, 137);
    body.closeSubpath();
    p.drawPath(body);

    // Neck and head, with a light gap between head and shoulders.
    p.setBrush(QColor(0xE6, 0xEB, 0xF0));
    p.drawEllipse(QPointF(64.5, 52), 30, 33);
    p.setBrush(figure);
    p.drawEllipse(QPointF(64.5, 52), 26, 29);
    p.end();
    return image;
}

bool write(const QImage& image, const char* path)
{
    if (image.save(QString::fromLocal8Bit(path), "BMP"))
        return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", path);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pictures <T.bmp> <U.bmp>\n");
        return 2;
    }
    const bool ok = write(toolPicture(), argv[1]) && write(personPicture(), argv[2]);
    return ok ? 0 : 1;
}
