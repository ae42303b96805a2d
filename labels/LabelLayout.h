#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

// Where the labels sit on a page, all in mm: a sheet of columns x rows, or a
// roll with one label a page. Label boxes go left to right, then down.
struct LabelLayout {
    QString name;
    QSizeF page;
    double marginLeft = 0;
    double marginTop = 0;
    int columns = 1;
    int rows = 1;
    QSizeF label;
    double gapAcross = 0;    // between columns
    double gapDown = 0;      // between rows
    double minModule = 0.25; // the narrowest bar or cell a printer makes cleanly

    int perPage() const { return columns * rows; }
    // The box of the slot-th label of a page (0 = top left).
    QRectF box(int slot) const;
    // Every box lies inside the page.
    bool fitsPage() const;
    // "70 x 37 mm, 3 x 8, A4": for lists.
    QString describe() const;
};
