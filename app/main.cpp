#include "Application.h"
#include "CommandLine.h"
#include "GuardedApplication.h"
#include "platform/Platform.h"
#include "platform/QtPlatform.h"

#include "core/DataFolder.h"
#include "core/Messages.h"

#include <QGuiApplication>
#include <QIcon>
#include <QStyleFactory>
#include <memory>
#include <string_view>

namespace {

// The program's arguments without --data and its folder: the mode is the
// first of the others.
QStringList argumentsWithoutData(int argc, char** argv, QString* data, bool* missing)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    *data = DataFolder::takeOption(arguments, missing);
    return arguments;
}

// The modes without a window need no display: they run before any window
// exists. Reports and labels lay out text with fonts, and an import scales
// photos, which needs a GUI application;
// the offscreen platform gives one without a display.
std::optional<int> runWithoutWindows(int argc, char** argv, const QString& mode)
{
    std::unique_ptr<QCoreApplication> core;
    if (mode == u"--report" || mode == u"--labels" || mode == u"--import") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        core = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        core = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), out, err);
}

int runWindows(char** argv, const QString& dataOption)
{
    // The GStreamer backend plays mp3 and fails cleanly without an audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    // Qt reads its own options (-platform, -style) from argv: none is given
    // here, the command line refuses them; --data and its folder are ours.
    int qtArgc = 1;
    GuardedApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("tooldesk"));
    QApplication::setApplicationDisplayName(QStringLiteral("tooldesk"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tooldesk.png")));
    // The window manager matches the window to the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tooldesk.ToolDesk"));

    QtDialogs dialogs;
    app.setDialogs(&dialogs);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    else
        dialogs.error(nullptr, QStringLiteral("The visual style \"Fusion\" cannot be applied."));

    // Beside the program when it is delivered in a folder; the user's own
    // made from the installed template otherwise.
    const DataFolder data = DataFolder::choose(
        DataFolder::Inputs::fromSystem(QCoreApplication::applicationDirPath(), dataOption));
    Messages texts;
    setMessages(texts, DataFolder::systemLanguageRussian());
    if (const QString failure = data.prepare(texts); !failure.isEmpty()) {
        dialogs.error(nullptr, failure);
        return 1;
    }

    SystemClock clock;
    QtSound sound;
    DesktopShell shell;
    QtWindowManager windows;
    Platform platform{dialogs, clock, sound, shell, windows};

    Application application(data.paths(), platform);
    if (!application.start())
        return 1;
    application.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QString dataOption;
    bool dataMissing = false;
    const QStringList arguments = argumentsWithoutData(argc, argv, &dataOption, &dataMissing);
    // An option, or --data without its folder, is the command line's to run or refuse.
    const QString mode = arguments.value(1);
    if (mode.startsWith(u'-') || dataMissing) {
        if (const auto status = runWithoutWindows(argc, argv, mode))
            return *status;
    }
    return runWindows(argv, dataOption);
}
