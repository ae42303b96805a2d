#include "Application.h"
#include "CommandLine.h"
#include "GuardedApplication.h"
#include "platform/Platform.h"
#include "platform/QtPlatform.h"

#include <QGuiApplication>
#include <QStyleFactory>
#include <memory>
#include <string_view>

namespace {

// The modes without a window need no display: they run before any window
// exists. Reports and labels lay out text with fonts, and an import scales
// photos, which needs a GUI application;
// the offscreen platform gives one without a display.
std::optional<int> runWithoutWindows(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> core;
    if (std::string_view(argv[1]) == "--report" || std::string_view(argv[1]) == "--labels"
        || std::string_view(argv[1]) == "--import") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        core = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        core = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), out, err);
}

int runWindows(int argc, char** argv)
{
    // The GStreamer backend plays mp3 and fails cleanly without an audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tooldesk"));
    QApplication::setApplicationDisplayName(QStringLiteral("tooldesk"));

    QtDialogs dialogs;
    app.setDialogs(&dialogs);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    else
        dialogs.error(nullptr, QStringLiteral("The visual style \"Fusion\" cannot be applied."));

    SystemClock clock;
    QtSound sound;
    DesktopShell shell;
    QtWindowManager windows;
    Platform platform{dialogs, clock, sound, shell, windows};

    // The program folder is the folder of the running executable.
    Application application(QCoreApplication::applicationDirPath(), platform);
    if (!application.start())
        return 1;
    application.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]).starts_with("-")) {
        if (const auto status = runWithoutWindows(argc, argv))
            return *status;
    }
    return runWindows(argc, argv);
}
