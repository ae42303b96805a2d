#include "ProgramRun.h"

#include <QProcess>

QProcessEnvironment environmentWithoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    return env;
}

ProgramOutcome runWithoutDisplay(const QString& program, const QStringList& arguments,
                                 const std::function<void(QProcess&)>& beforeStart, int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(environmentWithoutDisplay());
    if (beforeStart)
        beforeStart(p);
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
