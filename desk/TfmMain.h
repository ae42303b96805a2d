#pragma once

#include "config/Localization.h"

#include "data/Connection.h"
#include "data/Query.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class ColourButton;
class DbGrid;
class DbImage;
class DbText;
class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QueryModel;
struct Forms;
struct Platform;

// The main window: the issue desk with its journal, the left panel that
// switches the content area between the desk and the other pages, and the
// one database connection with the result sets that several windows share.
class TfmMain : public QWidget
{
    Q_OBJECT
    // First member: the result sets below are built on it and die before it.
    std::unique_ptr<Connection> m_connection;

public:
    TfmMain(Forms& forms, Platform& platform, const QString& programFolder, QWidget* parent = nullptr);
    ~TfmMain() override;

    // The creation steps: connection, shared result sets, upgrade, settings
    // file check. False when the program must end (the reason was shown).
    bool FormCreate();

    // Desk
    bool edInputKeyDown(int key); // true when the key was consumed
    QString GetData();
    void AddToHistory();
    void SpeedButton6Click();
    void SpeedButton7Click();
    bool recipientSelected() const;
    bool toolSelected() const;

    // Batch issue and timers
    void btPacketClick();
    void cbPacketIssuedClick();
    bool batchIssue() const;
    void TimerTimer();
    void tmrShowMainFormTimer();
    void CollapseAllWindow();
    void setTimersEnabled(bool enabled) { m_timersEnabled = enabled; }

    // Settings of the desk itself
    bool GetNaeedClear() const;
    void SetNeedClear(bool value) const;
    void cbClearClick();

    // Frame and journal
    void addPage(QWidget* page, QAbstractButton* entry);
    // Shows a left-panel entry, provided its page is part of the program.
    void showEntry(QAbstractButton* entry);
    // The access mode is read from the title: administrator unless it is
    // the restricted or the plain title.
    bool isAdministrator() const;
    void ShowMenu(QWidget* sender);
    void Panel4Click();
    void btSettingsClick();
    // Brings the tool list up: work types reloaded, searched, saved sort, columns.
    void SpeedButton4Click();
    void grid_HistoryTitleClick(int column);
    void grid_HistoryDblClick();
    static void SizeGrid(DbGrid* grid);
    void SetColumnView();
    void registerToolGrid(DbGrid* grid);
    void registerAdminButton(QWidget* button);
    void DisabledButtons(bool flag);
    // Column 3 of the journal: the event's time or the tool's type.
    void ShowTimeColumn(bool showTime, bool russian);

    Connection& connection() { return *m_connection; }
    const QString& iniPath() const { return m_iniPath; }
    const QString& soundPath() const { return m_soundPath; }
    const QString& programFolder() const { return m_folder; }

    // Shared result sets
    Query qHistory;
    Query qTools;
    Query qUsers;
    Query qOper;
    Query qStat;
    Query qSearch_U;
    Query qSearch_T;

    // Counters of the timers
    int IdleSeconds = 0;
    int PacketSeconds = 0;
    int RestoreSeconds = 0;
    bool FormStarted = false;

    // Controls
    QWidget* Panel1;
    ColourButton* Panel4;
    QPushButton* SpeedButton5;
    QPushButton* SpeedButton4;
    QPushButton* SpeedButton3;
    QPushButton* btWriteOff;
    QPushButton* btSettings;
    QPushButton* btAuth_x;
    QPushButton* SpeedButton1;
    QStackedWidget* pConteiner;
    QWidget* pMain;
    QLabel* Label9;
    ColourButton* btPacket;
    QPushButton* btEndPacketIssue;
    QCheckBox* cbPacketIssued;
    QLineEdit* edInput;
    QLabel* lbPacketTimer;
    QCheckBox* cbClear;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton7;
    DbImage* DBImage1;
    DbImage* DBImage2;
    QList<QLabel*> captions;  // Label1..Label8
    QList<DbText*> values;    // the eight values under them
    DbText* toolIdentity;     // hidden: the tool's lasting identity
    DbGrid* grid_History;
    QTimer Timer;
    QTimer tmrShowMainForm;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLeftPanel();
    void buildDesk();
    QGroupBox* buildPanel(const char* name, Query& query, const char* const fields[4], int firstLabel,
                          DbImage*& image, QToolButton*& clearButton, const char* buttonName);
    void emptyRecipient();
    void emptyTool();
    void paintBatchButton();
    void showHeading();
    void refreshJournalFormat();

    Forms& m_forms;
    Platform& m_platform;
    QString m_folder;
    QString m_iniPath;
    QString m_soundPath;
    QueryModel* m_historyModel;
    QList<QWidget*> m_pages;
    QList<QAbstractButton*> m_entries; // entries whose pages exist
    QList<QPointer<DbGrid>> m_toolGrids;
    QList<QPointer<QWidget>> m_adminButtons;
    bool m_shown = false;
    bool m_timersEnabled = true;
};

// The window's rows of the two text sets.
QList<Localization::Text> mainWindowTexts();
