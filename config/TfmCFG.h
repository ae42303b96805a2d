#pragma once

#include "widgets/Localization.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class Session;
struct Platform;

// The sign-in window: asks at every start whether an operator or the
// administrator is at the desk, carries the interface language box and the
// change of the administrator password.
class TfmCFG : public QDialog
{
    Q_OBJECT
public:
    TfmCFG(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Applies the stored language, restores the desk's clear box and, on the
    // first creation in a run, puts the program into its restricted state and
    // shows itself modally.
    void FormCreate();

    QString GetPass() const;
    // False when the new digest could not be written.
    bool SetPass(const QString& Value) const;
    QString GetLenguage() const;
    void RememberLenguage(const QString& Leng) const;
    // MD5 of the UTF-8 bytes of the trimmed password, 32 upper-case hex digits.
    static QString digest(const QString& password);

    void btAdmClick();
    void btOperClick();
    void cbLengChange();

    bool GoOperator = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Session& m_session;
    Platform& m_platform;
    QCheckBox* cbChatgePass;
    QComboBox* cbLeng;
    QLineEdit* edPass;
    QPushButton* btAdm;
    QPushButton* btOper;
    bool m_shownOnce = false;
    bool m_languageBoxConnected = false;
};

// The window's rows of the two text sets.
QList<Localization::Text> signInTexts();
