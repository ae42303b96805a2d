#pragma once

#include "Clock.h"
#include "Dialogs.h"
#include "Shell.h"
#include "Sound.h"
#include "WindowManager.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

class QtDialogs : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool offer(QWidget* parent, const QString& text, const QString& action) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& initial) override;
    QString openPicture(QWidget* parent, const QString& filter, const QString& folder) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                     const QString& filter = QString()) override;
    void showModal(QDialog& window) override;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// QtMultimedia player; the default beep when there is no audio output or the
// file cannot be played.
class QtSound : public Sound
{
public:
    QtSound();
    ~QtSound() override;
    void play(const QString& file) override;
    void beep() override;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

class DesktopShell : public Shell
{
public:
    bool open(const QString& file) override;
};

class QtWindowManager : public WindowManager
{
public:
    bool applicationInBackground() const override;
    bool isMinimised(const QWidget* window) const override;
    void minimiseOthers(const QWidget* own) override;
    void restore(QWidget* window) override;
};
