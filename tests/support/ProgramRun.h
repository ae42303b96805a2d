#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// What a run of the program printed and how it ended (-1: it crashed or did
// not end in the time allowed).
struct ProgramOutcome {
    int status = -1;
    QString out;
    QString err;
};

// The environment of a run from cron or a terminal without a desktop: no
// display and no platform chosen for one.
QProcessEnvironment environmentWithoutDisplay();

// Runs program with arguments in that environment. beforeStart may change
// the process first (its environment, a child process modifier); a run that
// outlasts timeoutMs is stopped.
ProgramOutcome runWithoutDisplay(const QString& program, const QStringList& arguments,
                                 const std::function<void(QProcess&)>& beforeStart = {}, int timeoutMs = 120000);
