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
    // Where the program was put, and nowhere else: beside it (a folder
    // delivered as a whole, the build) or in ../lib/tooldesk/ (installed,
    // bin/ and lib/ under one prefix). A build machine's path would hide a
    // missing module until another computer.
    // Tests, run from their own folders, name the module in the environment.
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList places{program.filePath(QStringLiteral("tooldesk_print")),
                       program.filePath(QStringLiteral("../lib/tooldesk/tooldesk_print"))};
    const QString named = qEnvironmentVariable("TOOLDESK_PRINT_MODULE");
    if (!named.isEmpty())
        places << named;
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
