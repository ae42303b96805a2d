#pragma once

#include "platform/fakes/FakePlatform.h"

#include <QDialog>
#include <QPushButton>

// The fake seams for one program start in the benchmark: nothing shown or
// played, and the sign-in window answered at once by the operator, so the
// start is measured without anyone signing in.
struct BenchPlatform {
    FakePlatform fakes;
    Platform platform = fakes.platform();

    BenchPlatform()
    {
        fakes.dialogs.modalScripts.push_back([](QDialog& window) {
            if (auto* signIn = window.findChild<QPushButton*>(QStringLiteral("btOper")))
                signIn->click();
        });
    }

    // What the fakes showed, one line each, for a failure report.
    QString shown() const
    {
        QStringList lines;
        for (const auto& s : fakes.dialogs.shown)
            lines << s.kind + QStringLiteral(": ") + s.text;
        return lines.join(QStringLiteral("; "));
    }
};
