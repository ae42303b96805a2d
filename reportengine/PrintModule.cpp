#include "PrintModule.h"

#include "ReportError.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLibrary>

namespace {

struct Loaded {
    MakePrintPreview make = nullptr;
    QString error;
};

Loaded load()
{
    Loaded l;
    // Beside the program, as it is delivered; else where this build made it.
    const QStringList places{QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tooldesk_print")),
                             QStringLiteral(TOOLDESK_PRINT_MODULE)};
    QStringList errors;
    for (const QString& place : places) {
        QLibrary library(place);
        if (!library.load()) {
            errors << library.errorString();
            continue;
        }
        // Left loaded for the rest of the program: QLibrary unloads only on unload().
        l.make = reinterpret_cast<MakePrintPreview>(library.resolve(kMakePrintPreviewSymbol));
        if (l.make)
            return l;
        errors << library.errorString();
    }
    l.error = errors.join(QStringLiteral("; "));
    return l;
}

} // namespace

namespace PrintModule {

std::unique_ptr<QDialog> makePreview(const PrintPreviewRequest& request, QWidget* parent)
{
    static const Loaded loaded = load();
    if (!loaded.make)
        throw ReportError(QStringLiteral("The print preview could not be loaded: %1").arg(loaded.error));
    return std::unique_ptr<QDialog>(loaded.make(request, parent));
}

} // namespace PrintModule
