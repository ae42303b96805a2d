#include "ReportPreview.h"

#include "PreparedReport.h"
#include "PrintModule.h"
#include "ReportError.h"
#include "ReportPdfWriter.h"
#include "ReportPrinter.h"
#include "TfrxRTFExport.h"
#include "data/WholeFileWriter.h"
#include "data/WorkCancelled.h"
#include "widgets/ProgressWindow.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const char* const kPreviewProperty = "reportPreview";

} // namespace

ReportPreview::ReportPreview(std::shared_ptr<const PreparedReport> report, QWidget* parent)
    : m_report(std::move(report))
{
    m_savePdf = new QAction(tr("Save as PDF"), this);
    m_savePdf->setObjectName(QStringLiteral("actSavePdf"));
    connect(m_savePdf, &QAction::triggered, this, [this] { saveAsPdf(); });
    m_exportRtf = new QAction(tr("Export to RTF"), this);
    m_exportRtf->setObjectName(QStringLiteral("actExportRtf"));
    connect(m_exportRtf, &QAction::triggered, this, [this] { exportToRtf(); });

    PrintPreviewRequest request;
    request.title = m_report->title;
    request.layout = ReportPrinter::pageLayout(*m_report);
    request.paint = [report = m_report](QPagedPaintDevice& printer) { return ReportPrinter::print(printer, *report); };
    request.actions = {m_savePdf, m_exportRtf};
    m_window = PrintModule::makePreview(request, parent);
    m_window->setProperty(kPreviewProperty, QVariant::fromValue<QObject*>(this));
}

// The window, a member, goes before the actions, children it shows.
ReportPreview::~ReportPreview() = default;

ReportPreview* ReportPreview::of(const QDialog& window)
{
    return qobject_cast<ReportPreview*>(window.property(kPreviewProperty).value<QObject*>());
}

void ReportPreview::setHooks(const Hooks& hooks)
{
    m_hooks = hooks;
}

void ReportPreview::setTitle(const QString& title)
{
    m_window->setWindowTitle(title);
}

void ReportPreview::setFileStem(const QString& pathWithoutExtension)
{
    m_fileStem = pathWithoutExtension;
}

QString ReportPreview::askFileName(const QString& suggested, const QString& filter)
{
    if (m_hooks.saveFileName)
        return m_hooks.saveFileName(suggested, filter);
    // The overwrite question is ours, asked once.
    return QFileDialog::getSaveFileName(m_window.get(), QString(), suggested, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool ReportPreview::mayWrite(const QString& file)
{
    // A device or a folder is refused before anyone is asked to replace it.
    WholeFileWriter::checkTarget(file);
    if (!QFileInfo::exists(file))
        return true;
    if (m_hooks.confirmOverwrite)
        return m_hooks.confirmOverwrite(file);
    return QMessageBox::question(m_window.get(), m_window->windowTitle(),
                                 tr("%1 already exists. Replace it?").arg(file), QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok;
}

std::unique_ptr<WorkProgress> ReportPreview::progressOf(const QString& file)
{
    if (m_hooks.progress)
        return m_hooks.progress(file);
    // Named by the file alone: no words of a language the window has not set.
    return std::make_unique<ProgressWindow>(m_window.get(), QFileInfo(file).fileName());
}

bool ReportPreview::saveAsPdf()
{
    const QString stem = m_fileStem.isEmpty() ? m_report->title : m_fileStem;
    return writeAs(stem, QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"), [this](const QString& file) {
        if (!mayWrite(file))
            return false;
        const std::unique_ptr<WorkProgress> progress = progressOf(file);
        ReportPdfWriter::write(*m_report, file, progress.get());
        return true;
    });
}

bool ReportPreview::exportToRtf()
{
    const QString stem = m_fileStem.isEmpty() ? QStringLiteral("Report") : m_fileStem;
    return writeAs(stem, QStringLiteral("rtf"), QStringLiteral("RTF (*.rtf)"), [this](const QString& file) {
        TfrxRTFExport filter;
        filter.FileName = file;
        filter.confirmOverwrite = [this](const QString& f) { return mayWrite(f); };
        const std::unique_ptr<WorkProgress> progress = progressOf(file);
        filter.progress = progress.get();
        return filter.exportPages(*m_report) == ExportResult::Written;
    });
}

bool ReportPreview::writeAs(const QString& stem, const QString& extension, const QString& filter,
                            const std::function<bool(const QString&)>& write)
{
    QString file = askFileName(stem + u'.' + extension, filter);
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += u'.' + extension;
    try {
        if (!write(file))
            return false;
    } catch (const FileWriteError& e) {
        reportError(e, file);
        return false;
    } catch (const ReportError& e) {
        reportError(e.text());
        return false;
    } catch (const WorkCancelled&) {
        return false; // the user's own choice: nothing to tell
    }
    if (m_hooks.written)
        m_hooks.written(file);
    return true;
}

void ReportPreview::reportError(const QString& text)
{
    if (m_hooks.showError)
        m_hooks.showError(text);
    else
        QMessageBox::warning(m_window.get(), m_window->windowTitle(), text);
}

void ReportPreview::reportError(const FileWriteError& error, const QString& file)
{
    if (m_hooks.writeFailed)
        m_hooks.writeFailed(error, file);
    else
        reportError(QString::fromLocal8Bit(error.what()));
}
