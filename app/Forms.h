#pragma once

#include <QComboBox>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class TfmMain;
class TfmSettings;
struct Messages;

// The windows of one running program, handed to each window that calls
// another. The application fills it in its fixed start order.
struct Forms {
    TfmMain* main = nullptr;
    TfmSettings* settings = nullptr;
    Messages* texts = nullptr;

    // The sign-in window's language box, once it exists; until then the
    // stored language stands.
    QPointer<QComboBox> languageBox;
    QString storedLanguage = QStringLiteral("RU");

    QString language() const { return languageBox ? languageBox->currentText() : storedLanguage; }
    bool russian() const { return language() == u"RU"; }

    // Every window, in start order, for the language switch.
    QList<QWidget*> windows;
};
