#pragma once

#include "config/Localization.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSpinBox;
struct Forms;
class Dialogs;

// The settings page, embedded in the main window. While the program runs its
// controls are the settings of record; check boxes write their key at once,
// the three time-outs are written at program end.
class TfmSettings : public QWidget
{
    Q_OBJECT
public:
    TfmSettings(Forms& forms, Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);

    void FormCreate();
    void FormDestroy();

    QString LoadSettings(const QString& AName) const;
    void SaveSettings(const QString& AName, const QString& AValue) const;
    QString GetLenguage() const;
    void SaveToolColumnView() const;

    void cbShowTimeClick();
    void cbReturnToolOnlyOwnerClick();
    void cbShowRecordCountClick();
    void cbShowMainFormClick();
    void cbPlaySoundClick();
    void cbToolTypeClick();

    // The eleven column check boxes, in the order of the tool grid's columns 1..11.
    QList<QCheckBox*> columnBoxes() const { return m_columnBoxes; }

    QGroupBox* ToolColumnBox;
    QCheckBox* cbToolType;
    QCheckBox* cbProizvoditel;
    QCheckBox* cbSerNum;
    QCheckBox* cbModel;
    QCheckBox* cbState;
    QCheckBox* cbDateProches;
    QCheckBox* cbWoranty;
    QCheckBox* cbPrice;
    QCheckBox* cbNaim;
    QCheckBox* cbInv;
    QCheckBox* cbMesto;
    QCheckBox* cbShowTime;
    QCheckBox* cbReturnToolOnlyOwner;
    QCheckBox* cbShowRecordCount;
    QSpinBox* edShowTimer;
    QCheckBox* cbShowMainForm;
    QSpinBox* edTimer;
    QLabel* lbClearTimer;
    QSpinBox* edPacketTimer;
    QLabel* lbPacketTimer;
    QCheckBox* cbPlaySound;

protected:
    void changeEvent(QEvent* event) override;

private:
    QString iniPath() const;

    Forms& m_forms;
    Dialogs& m_dialogs;
    QString m_folder;
    QList<QCheckBox*> m_columnBoxes;
};

// The window's rows of the two text sets.
QList<Localization::Text> settingsTexts();
