#pragma once

#include "core/CodeLookup.h"
#include "core/Session.h"
#include "data/ChangeWatch.h"
#include "widgets/Localization.h"

#include <QHash>
#include <QKeySequence>
#include <QStringList>
#include <QTimer>

class DbError;
#include <QWidget>

class ColourButton;
class DbGrid;
class DeskMessageLine;
struct FailureMessage;
class DbImage;
class DbText;
class Navigator;
class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QueryModel;
class ValueLabel;
struct Platform;

// The main window: the issue desk with its journal, and the left panel that
// switches the content area between the desk and the other pages.
class TfmMain : public QWidget
{
    Q_OBJECT
public:
    TfmMain(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);
    ~TfmMain() override;

    // The creation steps: the session's database and shared result sets,
    // the upgrade, the settings file check. False when the program must end
    // (the reason was shown).
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
    bool batchIssue() const;
    void TimerTimer();
    void tmrShowMainFormTimer();
    void CollapseAllWindow();
    void setTimersEnabled(bool enabled) { m_timersEnabled = enabled; }
    // Part of the idle tick: shows what other desks committed since the last
    // look, unless the storekeeper is in the middle of something here.
    // Throws DbError when the database does not answer the look.
    void followOtherDesks();
    const QTimer& idleTimer() const { return Timer; }
    const QTimer& restoreTimer() const { return tmrShowMainForm; }

    // Frame and journal
    // Puts a page into the content area, brought up by the left-panel entry
    // of that name, which shows from now on.
    void addPage(QWidget* page, const char* entry);
    // Shows one page of the content area and tells it so.
    void showPage(QWidget* page);
    // The page or desk in view.
    QWidget* currentPage() const;
    void Panel4Click();
    void grid_HistoryTitleClick(int column);
    void grid_HistoryDblClick();
    // Column 3 of the journal: the event's time or the tool's type.
    void ShowTimeColumn(bool showTime);

    // Counters of the timers
    int IdleSeconds = 0;
    int PacketSeconds = 0;
    int RestoreSeconds = 0;
    bool FormStarted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLeftPanel();
    void addEntryKeys();
    void buildDesk();
    QWidget* buildEntryRow(QWidget* parent);
    QGroupBox* buildPanel(const char* name, Query& query, const QStringList& fields, int firstLabel, DbImage*& image,
                          QToolButton*& clearButton, const char* buttonName);
    void buildJournal();
    void showJournalToolColumns();
    void connectCore();
    void ShowMenu(QWidget* page);
    void followAccessMode();
    void paintBatchButton();
    void showHeading();
    void showPacketCountdown();
    void refreshJournalFormat();
    void recordEvent();
    void showScanOutcome(CodeClass kind, const QString& code);
    // The scanned worker's overdue tools on the message line, if any.
    void showOverdue(const QString& holderKey);
    void keepFocusOnEntry();
    bool storekeeperBusy() const;
    void showOtherDesksChanges();
    void showNewJournalRow(const QVariantMap& row);
    void noteNewestJournalRow();
    // Runs a desk handler: a failure is told on the message line, never in a box.
    template<typename Handler>
    bool atDesk(Handler&& handler);
    void tellDeskFailure(const FailureMessage& failure);
    void tellDatabaseFailure(const DbError& error);
    static FailureMessage withoutServerWords(FailureMessage failure, const DbError& error);
    // The idle look: the database reached (clears the standing line) or not.
    void lookAtDatabase();
    // False while the deleted log's events are not yet back in the file.
    bool recoverLostLogFile();
    void clearIdleDesk();

    Session& m_session;
    DeskSelection& m_desk;
    Navigator& m_navigator;
    Platform& m_platform;

    QWidget* m_leftPanel;
    ColourButton* m_deskEntry;
    QPushButton* m_recipientsEntry;
    QPushButton* m_toolsEntry;
    QPushButton* m_reportsEntry;
    QPushButton* m_toolsOutEntry;
    QPushButton* btWriteOff;
    QPushButton* btSettings;
    QPushButton* btAuth_x;
    QPushButton* m_exitButton;
    QHash<QAbstractButton*, QKeySequence> m_entryKeys;
    QStackedWidget* pConteiner;
    QWidget* pMain;
    QLabel* m_heading;
    ColourButton* btPacket;
    QPushButton* btEndPacketIssue;
    QCheckBox* cbPacketIssued;
    QLineEdit* edInput;
    ValueLabel* lbPacketTimer;
    DeskMessageLine* m_messages; // what went wrong, told without a box
    QCheckBox* cbClear;
    QGroupBox* m_recipientPanel;
    QGroupBox* m_toolPanel;
    QToolButton* m_clearRecipientButton;
    QToolButton* m_clearToolButton;
    DbImage* m_recipientPhoto;
    DbImage* m_toolPhoto;
    QList<QLabel*> m_captions; // Label1..Label8
    QList<DbText*> m_values;   // the eight values under them
    DbGrid* grid_History;
    QueryModel* m_historyModel;
    QTimer Timer;
    QTimer tmrShowMainForm;
    ChangeWatch m_otherDesks;
    bool m_otherDesksChanged = false;   // seen, not shown yet
    qint64 m_newestJournalRow = 0;      // the key of the newest event the journal shows
    bool m_toolIdentitiesGiven = false; // by the first idle look

    QList<QWidget*> m_pages;
    QHash<QAbstractButton*, QWidget*> m_entryPages; // entries whose pages exist
    int m_quietSeconds = 0;                         // since the last key in the entry box
    bool m_shown = false;
    bool m_timersEnabled = true;
};

// The window's rows of the two text sets.
QList<Localization::Text> mainWindowTexts();
