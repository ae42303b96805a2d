#pragma once

#include <QApplication>
#include <QStyleFactory>

// A benchmark's application: offscreen unless the environment says
// otherwise, and in the program's own style, so painting costs what it
// costs the program.
class BenchApplication
{
public:
    // The platform is chosen before QApplication reads it.
    BenchApplication(int& argc, char** argv)
        : m_app((offscreenUnlessTold(), argc), argv)
    {
        if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(style);
    }

private:
    static void offscreenUnlessTold()
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication m_app;
};
