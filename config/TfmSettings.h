#pragma once

#include "widgets/Localization.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class ValueLabel;
class QSpinBox;
class QPushButton;
class Session;
class Settings;
struct Platform;

// The settings page, embedded in the main window: its controls show and
// change the program's settings.
class TfmSettings : public QWidget
{
    Q_OBJECT
public:
    TfmSettings(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Loads the settings file; a bad value is reported, the others load.
    void FormCreate();
    // Writes what is written at program end.
    void FormDestroy();

    // Writes a consistent copy of the database to a file the user chooses.
    void btBackupClick();

    // The eleven column check boxes, in the order of the tool grid's columns 1..11.
    const QList<QCheckBox*>& columnBoxes() const { return m_columnBoxes; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QGroupBox* buildJournalColumnBox();
    QWidget* buildSwitches();
    void bind();
    void showSettings();
    void SaveToolColumnView();
    void showPasswordReminder();

    Session& m_session;
    Settings& m_settings;
    Platform& m_platform;
    QGroupBox* ToolColumnBox;
    QList<QCheckBox*> m_columnBoxes;
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
    QPushButton* btBackup;
    QLabel* lbDatabaseTitle;
    ValueLabel* lbDatabase; // the database in use: the file, or the server's
    QLabel* lbDataFolderTitle;
    ValueLabel* lbDataFolder; // the Data folder in use (beside the program, the user's, --data)
    ValueLabel* lbDeliveredPassword;
};

// The window's rows of the two text sets.
QList<Localization::Text> settingsTexts();
