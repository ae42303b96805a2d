#include "QtPlatform.h"

#include "DesktopAssociations.h"
#include "DesktopWindows.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

void QtDialogs::message(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
}

void QtDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

bool QtDialogs::offer(QWidget* parent, const QString& text, const QString& action)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    QPushButton* button = box.addButton(action, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == button;
}

bool QtDialogs::confirm(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openPicture(QWidget* parent, const QString& filter, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)
{
    QString chosenFilter;
    QString file = QFileDialog::getSaveFileName(parent, title, suggested, filter, &chosenFilter);
    // A name typed without a suffix gets the chosen filter's, "Excel (*.xlsx)" giving ".xlsx":
    // the filter is what says the file's kind.
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.(\w+))"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        if (const QRegularExpressionMatch m = pattern.match(chosenFilter); m.hasMatch())
            file += u'.' + m.captured(1);
    }
    return file;
}

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::play(const QString& file)
{
    if (QMediaDevices::audioOutputs().isEmpty() || !QFileInfo(file).isFile()) {
        QApplication::beep();
        return;
    }
    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
        QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, m_player.get(),
                         [](QMediaPlayer::Error, const QString&) { QApplication::beep(); });
    }
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(file));
    m_player->play();
}

void QtSound::beep()
{
    QApplication::beep();
}

void QtDialogs::showModal(QDialog& window)
{
    window.exec();
}

bool DesktopShell::open(const QString& file)
{
    // Qt reports only whether a launcher started, not whether a program took the file.
    if (!desktopHasProgramFor(file))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtWindowManager::applicationInBackground() const
{
    return QApplication::activeWindow() == nullptr;
}

bool QtWindowManager::isMinimised(const QWidget* window) const
{
    return window && window->isMinimized();
}

void QtWindowManager::minimiseOthers(const QWidget*)
{
    QSet<quint64> own;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->testAttribute(Qt::WA_WState_Created))
            own.insert(static_cast<quint64>(w->winId()));
    }
    minimiseOtherDesktopWindows(own);
}

void QtWindowManager::restore(QWidget* window)
{
    if (!window)
        return;
    window->showNormal();
    window->raise();
    window->activateWindow();
}
