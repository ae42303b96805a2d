#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/WindowManager.h"

#include <QStringList>
#include <deque>
#include <functional>

// Records every dialog and answers from queues; nothing is ever shown.
class FakeDialogs : public Dialogs
{
public:
    struct Shown {
        QString kind; // "message", "error", "offer", "confirm", "input", "picture", "save", "modal"
        QString text; // a chooser's: "filter|folder" or "title|suggested path"
    };

    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool offer(QWidget* parent, const QString& text, const QString& action) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& initial) override;
    QString openPicture(QWidget* parent, const QString& filter, const QString& folder) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                     const QString& filter = QString()) override;
    // Runs the next script on the window instead of showing it; a window the
    // script leaves open, or one with no script left, is closed as by its
    // close button.
    void showModal(QDialog& window) override;

    std::deque<std::function<void(QDialog&)>> modalScripts;

    // Answers, taken in order; an empty queue answers Cancel.
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> pictureAnswers;
    std::deque<QString> saveFileAnswers;
    std::deque<bool> offerAnswers; // true: the extra button
    QStringList saveFilters;       // the filter of each save dialog, in order

    QList<Shown> shown;
    QStringList texts(const QString& kind) const;
    void clear() { shown.clear(); }
};

class FakeClock : public Clock
{
public:
    QDateTime now() const override { return current; }
    QDateTime current = QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15));
};

class FakeSound : public Sound
{
public:
    void play(const QString& file) override { played << file; }
    void beep() override { ++beeps; }
    QStringList played;
    int beeps = 0;
};

class FakeShell : public Shell
{
public:
    bool open(const QString& file) override
    {
        opened << file;
        return succeeds && !unopened.contains(file);
    }
    QStringList opened;
    bool succeeds = true; // false: the desktop has no program for any file
    QStringList unopened; // files the desktop has no program for
};

class FakeWindowManager : public WindowManager
{
public:
    bool applicationInBackground() const override { return background; }
    bool isMinimised(const QWidget*) const override { return minimised; }
    void minimiseOthers(const QWidget*) override { ++minimiseOthersCalls; }
    void restore(QWidget*) override { ++restoreCalls; }

    bool background = false;
    bool minimised = false;
    int minimiseOthersCalls = 0;
    int restoreCalls = 0;
};

// All fakes together, ready to hand to an application under test.
struct FakePlatform {
    FakeDialogs dialogs;
    FakeClock clock;
    FakeSound sound;
    FakeShell shell;
    FakeWindowManager windows;
    Platform platform() { return Platform{dialogs, clock, sound, shell, windows}; }
};
