#include "ReportPreview.h"

#include "PreparedReport.h"
#include "ReportError.h"
#include "ReportPdfWriter.h"
#include "ReportPrinter.h"
#include "TfrxRTFExport.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QToolBar>

ReportPreview::ReportPreview(std::shared_ptr<const PreparedReport> report, QWidget* parent)
    : QPrintPreviewDialog(parent)
    , m_report(std::move(report))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_report->title);
    ReportPrinter::setUp(*printer(), *m_report);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paint);

    m_savePdf = new QAction(tr("Save as PDF"), this);
    m_savePdf->setObjectName(QStringLiteral("actSavePdf"));
    connect(m_savePdf, &QAction::triggered, this, [this] { saveAsPdf(); });
    m_exportRtf = new QAction(tr("Export to RTF"), this);
    m_exportRtf->setObjectName(QStringLiteral("actExportRtf"));
    connect(m_exportRtf, &QAction::triggered, this, [this] { exportToRtf(); });
    if (auto* bar = findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(m_savePdf);
        bar->addAction(m_exportRtf);
    } else {
        addAction(m_savePdf);
        addAction(m_exportRtf);
    }
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setHooks(const Hooks& hooks)
{
    m_hooks = hooks;
}

void ReportPreview::paint(QPrinter* printer)
{
    ReportPrinter::print(*printer, *m_report);
}

QString ReportPreview::askFileName(const QString& suggested, const QString& filter)
{
    if (m_hooks.saveFileName)
        return m_hooks.saveFileName(suggested, filter);
    // The overwrite question is ours, asked once.
    return QFileDialog::getSaveFileName(this, QString(), suggested, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

bool ReportPreview::mayWrite(const QString& file)
{
    if (!QFileInfo::exists(file))
        return true;
    if (m_hooks.confirmOverwrite)
        return m_hooks.confirmOverwrite(file);
    return QMessageBox::question(this, windowTitle(), tr("%1 already exists. Replace it?").arg(file),
                                 QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok;
}

bool ReportPreview::saveAsPdf()
{
    QString file = askFileName(m_report->title + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    if (!mayWrite(file))
        return false;
    try {
        ReportPdfWriter::write(*m_report, file);
    } catch (const ReportError& e) {
        if (m_hooks.showError)
            m_hooks.showError(e.text());
        else
            QMessageBox::warning(this, windowTitle(), e.text());
        return false;
    }
    if (m_hooks.written)
        m_hooks.written(file);
    return true;
}

bool ReportPreview::exportToRtf()
{
    QString file = askFileName(QStringLiteral("Report.rtf"), QStringLiteral("RTF (*.rtf)"));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".rtf");
    TfrxRTFExport filter;
    filter.FileName = file;
    filter.confirmOverwrite = [this](const QString& f) { return mayWrite(f); };
    try {
        if (filter.exportPages(*m_report) != ExportResult::Written)
            return false;
    } catch (const ReportError& e) {
        if (m_hooks.showError)
            m_hooks.showError(e.text());
        else
            QMessageBox::warning(this, windowTitle(), e.text());
        return false;
    }
    if (m_hooks.written)
        m_hooks.written(file);
    return true;
}
