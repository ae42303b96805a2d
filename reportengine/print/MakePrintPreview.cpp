// The print module: Qt's print preview dialog set up for a report's pages.
#include "reportengine/PrintPreviewRequest.h"

#include <QAction>
#include <QBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

extern "C" Q_DECL_EXPORT QDialog* tooldesk_make_print_preview(const PrintPreviewRequest& request, QWidget* parent)
{
    auto* preview = new QPrintPreviewDialog(parent);
    preview->setObjectName(QStringLiteral("ReportPreview"));
    preview->setWindowTitle(request.title);
    // Painted from the paper's corner: the report's own margins are the printed
    // ones. Full page after the layout, which would set its own mode.
    QPrinter* printer = preview->printer();
    printer->setPageLayout(request.layout);
    printer->setFullPage(true);
    printer->setDocName(request.title);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [paint = request.paint](QPrinter* p) { paint(*p); });
    // A bar of their own under Qt's: at the end of Qt's bar they went into its
    // overflow whenever the zoom box widened (after the last page, say).
    auto* exports = new QToolBar(preview);
    exports->setObjectName(QStringLiteral("ReportExportBar"));
    exports->setToolButtonStyle(Qt::ToolButtonTextOnly);
    exports->addActions(request.actions);
    if (auto* layout = qobject_cast<QBoxLayout*>(preview->layout()))
        layout->insertWidget(1, exports);
    else
        preview->addActions(request.actions);
    return preview;
}
