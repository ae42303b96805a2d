#pragma once

#include <QObject>
#include <functional>
#include <memory>

class FileWriteError;
class PreparedReport;
class QAction;
class QDialog;
class WorkProgress;

// The preview window of built pages: Qt's print preview (print, page set-up,
// zoom, page navigation) with "Save as PDF" and "Export to RTF" on its tool
// bar. Every question it asks goes through its hooks, so the window layer
// answers them through its own dialogs and tests answer them directly.
// The window itself comes from the print module, loaded on first use.
class ReportPreview : public QObject
{
    Q_OBJECT
public:
    struct Hooks {
        // The file to write, or an empty text when the user cancels.
        std::function<QString(const QString& suggested, const QString& filter)> saveFileName;
        // Asked before an existing file is replaced; true to replace it.
        std::function<bool(const QString& file)> confirmOverwrite;
        std::function<void(const QString& text)> showError;
        // A file that was not written (the earlier one stays); without it
        // showError gets the system's text.
        std::function<void(const FileWriteError& error, const QString& file)> writeFailed;
        // Told of each written file (the window may open it).
        std::function<void(const QString& file)> written;
        // What shows the writing of file (a dialog with a cancel button
        // once it takes longer than half a second); without it one named
        // by the file.
        std::function<std::unique_ptr<WorkProgress>(const QString& file)> progress;
    };

    // Throws ReportError when the print module cannot be loaded.
    explicit ReportPreview(std::shared_ptr<const PreparedReport> report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The preview window, to show.
    QDialog& window() const { return *m_window; }
    // The preview whose window this is, or null.
    static ReportPreview* of(const QDialog& window);

    // Hooks left empty keep the standard dialogs.
    void setHooks(const Hooks& hooks);
    // The window's title; the report's name until set.
    void setTitle(const QString& title);
    // The file the save and export dialogs propose, without its extension;
    // the report's name (and "Report" for RTF) until set.
    void setFileStem(const QString& pathWithoutExtension);

    QAction* savePdfAction() const { return m_savePdf; }
    QAction* exportRtfAction() const { return m_exportRtf; }

    // True when a file was written; nothing is written when the user
    // cancels meanwhile, and an earlier file stays as it was.
    bool saveAsPdf();
    bool exportToRtf();

private:
    QString askFileName(const QString& suggested, const QString& filter);
    // Asks where to write (stem.extension proposed; the extension added to a
    // name without one), writes there through write, which answers false
    // when it wrote nothing, and tells the written hook. A failure is shown.
    bool writeAs(const QString& stem, const QString& extension, const QString& filter,
                 const std::function<bool(const QString&)>& write);
    bool mayWrite(const QString& file);
    std::unique_ptr<WorkProgress> progressOf(const QString& file);
    void reportError(const QString& text);
    void reportError(const FileWriteError& error, const QString& file);

    std::shared_ptr<const PreparedReport> m_report;
    Hooks m_hooks;
    QString m_fileStem;
    QAction* m_savePdf;
    QAction* m_exportRtf;
    std::unique_ptr<QDialog> m_window;
};
