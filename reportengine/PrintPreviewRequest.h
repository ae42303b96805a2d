#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <functional>

class QAction;
class QDialog;
class QPagedPaintDevice;
class QWidget;

// What the print module needs to show Qt's print preview of a report. The
// module is loaded the first time a report is previewed: linked in, Qt Print
// Support would cost every start of the program 300 KB and its relocations.
struct PrintPreviewRequest {
    QString title;
    QPageLayout layout;
    // Paints every page on the printer; false when it could not be started.
    std::function<bool(QPagedPaintDevice& printer)> paint;
    // Added to the preview's tool bar after its own buttons.
    QList<QAction*> actions;
};

// The module's one entry point: a new preview window, owned by the caller.
using MakePrintPreview = QDialog* (*)(const PrintPreviewRequest& request, QWidget* parent);
inline constexpr char kMakePrintPreviewSymbol[] = "tooldesk_make_print_preview";
