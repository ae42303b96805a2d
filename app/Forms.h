#pragma once

#include <QComboBox>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class TfmMain;
class TfmSettings;
class TfmCFG;
class TfmTools;
class TfmDict;
class TfmEditor_T;
class TfmCard_T;
class TfmHend;
class Localization;
struct Messages;

// The windows of one running program, handed to each window that calls
// another. The application fills it in its fixed start order.
struct Forms {
    TfmMain* main = nullptr;
    TfmSettings* settings = nullptr;
    TfmCFG* cfg = nullptr;
    TfmTools* tools = nullptr;
    TfmDict* dictNaim = nullptr;
    TfmDict* dictMesto = nullptr;
    TfmDict* dictTypes = nullptr;
    TfmEditor_T* editorT = nullptr;
    TfmCard_T* cardT = nullptr;
    TfmHend* hend = nullptr;
    Localization* localization = nullptr;
    Messages* texts = nullptr;

    // The current language is the sign-in window's language box; Russian
    // until that window exists.
    QPointer<QComboBox> languageBox;

    QString language() const { return languageBox ? languageBox->currentText() : QStringLiteral("RU"); }
    bool russian() const { return language() == u"RU"; }

    // Every window, in start order, for the language switch.
    QList<QWidget*> windows;
};
