#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

// One memo as printed: where on the page (report units from the paper's
// top-left corner), its text, the text's lines at the memo's width, and the
// index of its look among the built report's styles.
struct PreparedItem {
    QRectF rect;
    QString text;
    QStringList lines;
    int style = 0;
    // One line as wide as the whole memo: printed without inner padding.
    bool fillsWidth = false;
};
