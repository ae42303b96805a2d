#include "TfmMain.h"

#include "DeskMessageLine.h"
#include "core/DeskSelection.h"
#include "core/FailureText.h"
#include "core/Navigator.h"
#include "core/OverdueNote.h"
#include "core/Settings.h"
#include "core/ToolsOut.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "data/ToolIdentities.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/WindowManager.h"
#include "widgets/ColourButton.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/DbText.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/Page.h"
#include "widgets/ValueLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kBatchOff(248, 148, 110);
const QColor kBatchOn(45, 172, 61);
const QColor kDeskEntry(45, 172, 61);
const QColor kDeskEntryHover(52, 203, 71);
constexpr int kJournalTimeColumn = 3;
constexpr int kJournalToolCodeColumn = 8; // then the tool's name
constexpr int kCheckpointAfterIdleSeconds = 2;

const QStringList kRecipientFields = {col::Users::ID_User, col::Users::FIO, col::Users::Organization,
                                      col::Users::Otdel};
const QStringList kToolFields = {col::Tools::ID_Tool, col::Tools::Tool_Type, col::Tools::Proizvoditel,
                                 col::Tools::Model};

QPushButton* entryButton(QWidget* parent, const char* name)
{
    auto* b = named(new QPushButton(parent), name);
    b->setFixedSize(173, 49);
    b->setFlat(true);
    return b;
}

} // namespace

TfmMain::TfmMain(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_desk(session.desk())
    , m_navigator(navigator)
    , m_platform(platform)
    , m_otherDesks(session.connection(), this)
{
    setObjectName(QStringLiteral("TfmMain"));
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    setFont(f);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildLeftPanel();
    layout->addWidget(m_leftPanel);
    pConteiner = named(new QStackedWidget(this), "pConteiner");
    layout->addWidget(pConteiner, 1);
    buildDesk();
    pConteiner->addWidget(pMain);
    m_pages << pMain;
    resize(1123, 576);

    Timer.setInterval(1000);
    tmrShowMainForm.setInterval(1000);
    // The idle look runs with nobody watching: it never puts up a box.
    connect(&Timer, &QTimer::timeout, this, [this] { atDesk([this] { TimerTimer(); }); });
    guardedConnect(&tmrShowMainForm, &QTimer::timeout, this, m_platform.dialogs, [this] { tmrShowMainFormTimer(); });
    connectCore();
}

TfmMain::~TfmMain() = default;

void TfmMain::buildLeftPanel()
{
    m_leftPanel = named(new QWidget(this), "Panel1");
    m_leftPanel->setFixedWidth(185);
    m_leftPanel->setAutoFillBackground(true);
    QPalette p = m_leftPanel->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    m_leftPanel->setPalette(p);
    m_leftPanel->setStyleSheet(QStringLiteral("QPushButton { color: white; font-weight: bold; border: none; }"
                                              "QPushButton:hover { background-color: rgba(255, 255, 255, 40); }"));
    auto* v = new QVBoxLayout(m_leftPanel);
    v->setContentsMargins(5, 5, 5, 5);

    m_deskEntry = named(new ColourButton(m_leftPanel), "Panel4");
    m_deskEntry->setFixedSize(173, 49);
    m_deskEntry->setColour(kDeskEntry);
    connect(m_deskEntry, &ColourButton::hovered, this,
            [this](bool inside) { m_deskEntry->setColour(inside ? kDeskEntryHover : kDeskEntry); });
    connect(m_deskEntry, &QPushButton::pressed, this, [this] { m_deskEntry->setSunken(true); });
    connect(m_deskEntry, &QPushButton::released, this, [this] { m_deskEntry->setSunken(false); });
    guardedConnect(m_deskEntry, &QPushButton::clicked, this, m_platform.dialogs, [this] { Panel4Click(); });

    m_recipientsEntry = entryButton(m_leftPanel, "SpeedButton5");
    m_toolsEntry = entryButton(m_leftPanel, "SpeedButton4");
    m_reportsEntry = entryButton(m_leftPanel, "SpeedButton3");
    m_toolsOutEntry = entryButton(m_leftPanel, "btToolsOut");
    btWriteOff = entryButton(m_leftPanel, "btWriteOff");
    btSettings = entryButton(m_leftPanel, "btSettings");
    btAuth_x = entryButton(m_leftPanel, "btAuth_x");
    m_exitButton = entryButton(m_leftPanel, "SpeedButton1");
    v->addWidget(m_deskEntry);
    for (QPushButton* entry :
         {m_recipientsEntry, m_toolsEntry, m_toolsOutEntry, m_reportsEntry, btWriteOff, btSettings, btAuth_x}) {
        // An entry shows once its page is part of the program.
        entry->hide();
        v->addWidget(entry);
    }
    v->addStretch();
    v->addWidget(m_exitButton);
    connect(m_exitButton, &QPushButton::clicked, this, &QWidget::close);
    addEntryKeys();
}

// The entry box keeps Tab and every printable key; the left panel's entries
// answer keys a scanner never types, from every page and from the entry box.
// An entry the signed-in user does not see or may not use stays out of reach.
void TfmMain::addEntryKeys()
{
    const QList<QPair<QPushButton*, Qt::Key>> keys = {
        {m_deskEntry, Qt::Key_F2},     {m_recipientsEntry, Qt::Key_F3}, {m_toolsEntry, Qt::Key_F4},
        {m_reportsEntry, Qt::Key_F5},  {btWriteOff, Qt::Key_F6},        {btSettings, Qt::Key_F7},
        {m_toolsOutEntry, Qt::Key_F8},
    };
    for (const auto& [entry, key] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setObjectName(entry->objectName() + QStringLiteral("Key"));
        m_entryKeys.insert(entry, shortcut->key());
        connect(shortcut, &QShortcut::activated, entry, [this, entry = entry] {
            if (entry->isVisibleTo(m_leftPanel) && entry->isEnabled())
                entry->click();
        });
    }
}

QGroupBox* TfmMain::buildPanel(const char* name, Query& query, const QStringList& fields, int firstLabel,
                               DbImage*& image, QToolButton*& clearButton, const char* buttonName)
{
    auto* box = named(new QGroupBox(pMain), name);
    auto* grid = new QGridLayout(box);
    image = new DbImage(query, col::Photo, QSize(129, 137), box);
    image->setObjectName(firstLabel == 1 ? QStringLiteral("DBImage1") : QStringLiteral("DBImage2"));
    grid->addWidget(image, 0, 0, 9, 1, Qt::AlignTop);
    for (int i = 0; i < 4; ++i) {
        auto* caption = new QLabel(box);
        caption->setObjectName(QStringLiteral("Label%1").arg(firstLabel + i));
        auto* value = new DbText(query, fields[i], box);
        value->setObjectName(QStringLiteral("DBText%1").arg(firstLabel + i));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        grid->addWidget(caption, 2 * i, 1);
        grid->addWidget(value, 2 * i + 1, 1);
        m_captions << caption;
        m_values << value;
    }
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(1, 1);
    clearButton = named(new QToolButton(box), buttonName);
    clearButton->setText(QStringLiteral("-"));
    clearButton->setAutoRaise(true);
    grid->addWidget(clearButton, 0, 2, Qt::AlignTop | Qt::AlignRight);
    return box;
}

QWidget* TfmMain::buildEntryRow(QWidget* parent)
{
    auto* top = new QWidget(parent);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);

    auto* headRow = new QHBoxLayout;
    m_heading = named(new QLabel(top), "Label9");
    m_heading->setAlignment(Qt::AlignCenter);
    QFont headFont = m_heading->font();
    headFont.setPixelSize(18);
    headFont.setBold(true);
    m_heading->setFont(headFont);
    cbClear = named(new QCheckBox(top), "cbClear");
    cbPacketIssued = named(new QCheckBox(top), "cbPacketIssued");
    cbPacketIssued->hide();
    btEndPacketIssue = named(new QPushButton(top), "btEndPacketIssue");
    btEndPacketIssue->hide();
    headRow->addStretch(1);
    headRow->addWidget(m_heading, 2);
    headRow->addStretch(1);
    headRow->addWidget(cbClear, 0, Qt::AlignTop);
    topLayout->addLayout(headRow);

    auto* inputRow = new QHBoxLayout;
    btPacket = named(new ColourButton(top), "btPacket");
    btPacket->setFixedSize(150, 40);
    edInput = named(new QLineEdit(top), "edInput");
    edInput->setMaxLength(16);
    edInput->setAlignment(Qt::AlignCenter);
    QFont inputFont = edInput->font();
    inputFont.setPixelSize(21);
    edInput->setFont(inputFont);
    edInput->setMinimumWidth(320);
    edInput->installEventFilter(this);
    lbPacketTimer = named(new ValueLabel(QStringLiteral("0"), top), "lbPacketTimer");
    lbPacketTimer->setFixedWidth(60);
    lbPacketTimer->hide();
    inputRow->addWidget(btPacket);
    inputRow->addStretch(1);
    inputRow->addWidget(edInput, 2);
    inputRow->addWidget(lbPacketTimer);
    inputRow->addStretch(1);
    topLayout->addLayout(inputRow);

    m_messages = new DeskMessageLine(top);
    topLayout->addWidget(m_messages);
    return top;
}

void TfmMain::buildDesk()
{
    pMain = named(new QWidget(pConteiner), "pMain");
    auto* v = new QVBoxLayout(pMain);
    v->setContentsMargins(6, 6, 6, 6);

    auto* top = buildEntryRow(pMain);
    // The panels keep their height; a long message takes its room from the journal.
    top->setMinimumHeight(289);
    top->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* panels = new QHBoxLayout;
    m_recipientPanel = buildPanel("GroupBox1", m_desk.qSearch_U, kRecipientFields, 1, m_recipientPhoto,
                                  m_clearRecipientButton, "SpeedButton6");
    m_toolPanel = buildPanel("GroupBox2", m_desk.qSearch_T, kToolFields, 5, m_toolPhoto, m_clearToolButton,
                             "SpeedButton7");
    auto* toolIdentity = named(new DbText(m_desk.qSearch_T, col::Tools::ID_Tool_Unique, m_toolPanel), "DBText_Unique");
    toolIdentity->hide();
    panels->addWidget(m_recipientPanel);
    panels->addWidget(m_toolPanel);
    static_cast<QVBoxLayout*>(top->layout())->addLayout(panels, 1);
    v->addWidget(top);

    buildJournal();
    v->addWidget(grid_History, 1);
    keepFocusOnEntry();
}

// The entry box keeps the keyboard: the desk's buttons and boxes take no
// focus, and any click on the desk gives it back, so no scan goes astray.
void TfmMain::keepFocusOnEntry()
{
    for (QAbstractButton* b : pMain->findChildren<QAbstractButton*>())
        b->setFocusPolicy(Qt::NoFocus);
    for (QWidget* w : pMain->findChildren<QWidget*>()) {
        if (w != edInput)
            w->installEventFilter(this);
    }
}

void TfmMain::buildJournal()
{
    grid_History = named(new DbGrid(pMain), "grid_History");
    m_historyModel = new QueryModel(m_session.qHistory, grid_History);
    m_historyModel->setColumns({{col::History::ADate, {}, {}},
                                {col::History::Operation, {}, {}},
                                {col::History::FIO, {}, {}},
                                {col::History::IType, {}, {}},
                                {col::History::Model, {}, {}},
                                {col::History::Organization, {}, {}},
                                {col::History::State, {}, {}},
                                {col::History::Note, {}, {}},
                                {col::Tools::ID_Tool, {}, {}},
                                {col::Tools::Naim, {}, {}}});
    grid_History->setQueryModel(m_historyModel);
    const int widths[] = {80, 60, 150, 120, 120, 120, 100, 140, 110, 140};
    for (int i = 0; i < 10; ++i)
        grid_History->setColumnWidth(i, widths[i]);
    grid_History->setSpreadOnResize(true);
    showJournalToolColumns();
}

// The tool's code and name, after the journal's own columns.
void TfmMain::showJournalToolColumns()
{
    using Column = Settings::JournalColumn;
    const Settings& settings = m_session.settings();
    grid_History->setColumnHidden(kJournalToolCodeColumn, !settings.journalColumnVisible(Column::ToolCode));
    grid_History->setColumnHidden(kJournalToolCodeColumn + 1, !settings.journalColumnVisible(Column::ToolName));
    grid_History->spreadColumns();
}

void TfmMain::connectCore()
{
    Dialogs& dialogs = m_platform.dialogs;
    guardedConnect(btPacket, &QPushButton::clicked, this, dialogs, [this] { btPacketClick(); });
    connect(m_clearRecipientButton, &QToolButton::clicked, this, [this] { atDesk([this] { SpeedButton6Click(); }); });
    connect(m_clearToolButton, &QToolButton::clicked, this, [this] { atDesk([this] { SpeedButton7Click(); }); });
    guardedConnect(grid_History, &DbGrid::titleClicked, this, dialogs, [this](int c) { grid_HistoryTitleClick(c); });
    guardedConnect(grid_History, &DbGrid::rowDoubleClicked, this, dialogs, [this] { grid_HistoryDblClick(); });
    // The journal fetching rows as it scrolls: told on the desk's line.
    connect(
        grid_History, &DbGrid::databaseError, this,
        [this](const QString& text) {
            tellDeskFailure({m_session.texts().rsRequestError, text});
        },
        Qt::QueuedConnection);

    // The desk's flags are the core's: a check box or the batch button asks
    // it for a change, and every control shows the flag from its announcement.
    connect(cbPacketIssued, &QCheckBox::toggled, &m_desk, &DeskSelection::setBatch);
    connect(&m_desk, &DeskSelection::batchChanged, this, [this](bool on) {
        cbPacketIssued->setChecked(on);
        if (on)
            PacketSeconds = 0;
        showHeading();
        paintBatchButton();
    });
    connect(cbClear, &QCheckBox::toggled, &m_desk, &DeskSelection::setClearAfterEvent);
    connect(&m_desk, &DeskSelection::clearAfterEventChanged, cbClear, &QCheckBox::setChecked);

    Settings& settings = m_session.settings();
    connect(&settings, &Settings::showTimeChanged, this, &TfmMain::ShowTimeColumn);
    connect(&settings, &Settings::journalColumnsChanged, this, &TfmMain::showJournalToolColumns);
    connect(&settings, &Settings::showMainFormChanged, this, [this](bool on) {
        if (on)
            RestoreSeconds = 0;
    });
    connect(&m_session, &Session::accessModeChanged, this, &TfmMain::followAccessMode);
    // Told on the scan line, so the first scan's own message replaces it.
    connect(&m_session, &Session::deliveredPasswordChanged, this, [this](bool inUse) {
        if (inUse)
            m_messages->showNote(m_session.texts().rsDeliveredPasswordInUse);
    });
    connect(&m_desk, &DeskSelection::journalChanged, this, &TfmMain::showNewJournalRow);
    connect(&m_session.qHistory, &Query::reopened, this, &TfmMain::refreshJournalFormat);
    connect(&m_session.qHistory, &Query::reopened, this, &TfmMain::noteNewestJournalRow);
}

bool TfmMain::FormCreate()
{
    const Messages& t = m_session.texts();
    setWindowTitle(t.rsCaptionMain);
    try {
        m_session.open([this] {
            m_platform.dialogs.message(
                this, QStringLiteral("Для начала реконструкции БД нажмите ОК (Может занять некоторое время)"));
        });
    } catch (const DbError& e) {
        // A database that cannot be opened or brought up to date is never
        // used; the reason is told in the stored language, if there is one.
        Messages texts;
        setMessages(texts, m_session.settings().language().trimmed().compare(u"EN", Qt::CaseInsensitive) != 0);
        m_platform.dialogs.error(this, openFailureText(e, texts));
        return false;
    }
    if (!m_session.settings().fileExists()) {
        m_platform.dialogs.message(this, kConfigNotFoundRu);
        return false;
    }
    try {
        m_otherDesks.start();
    } catch (const DbError&) {
        // The desk works without it: other desks' events show with its own.
    }
    FormStarted = false;
    paintBatchButton();
    return true;
}

void TfmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    ShowTimeColumn(m_session.settings().showTime());
    paintBatchButton();
    if (m_timersEnabled) {
        Timer.start();
        tmrShowMainForm.start();
    }
    edInput->setFocus();
}

// ---- Desk -------------------------------------------------------------------

bool TfmMain::recipientSelected() const
{
    return m_desk.recipientSelected();
}

bool TfmMain::toolSelected() const
{
    return m_desk.toolSelected();
}

void TfmMain::SpeedButton6Click()
{
    m_desk.clearRecipient();
}

void TfmMain::SpeedButton7Click()
{
    m_desk.clearTool();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edInput && event->type() == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        int key = keyEvent->key();
        if (key == Qt::Key_Tab)
            key = Qt::Key_Return; // scanners set to end codes with Tab
        const QString typed = keyEvent->text();
        if (typed == u'\r' || typed == u'\n')
            key = Qt::Key_Return; // a line end typed as a control character (Ctrl+J, Ctrl+M)
        bool consumed = false;
        atDesk([&] { consumed = edInputKeyDown(key); });
        return consumed || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (event->type() == QEvent::MouseButtonRelease && pMain->isVisible())
        edInput->setFocus();
    return QWidget::eventFilter(watched, event);
}

bool TfmMain::edInputKeyDown(int key)
{
    // Any key in the box is activity for the idle and batch timers.
    showPacketCountdown();
    IdleSeconds = 0;
    PacketSeconds = 0;
    m_quietSeconds = 0;
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;

    // The code is taken whatever comes of it: a failed lookup leaves no
    // text in the box for the next scan to run into.
    const QString code = edInput->text();
    // No code, no scan: a second Enter, or the LF of a scanner that ends
    // its codes with CR+LF, leaves the desk and the last scan's note alone.
    if (code.isEmpty())
        return true;
    edInput->clear();
    m_messages->clear();
    QString scannedHolder;
    try {
        if (toolSelected() && recipientSelected())
            m_desk.clearForNextEvent();
        const CodeClass kind = m_desk.selectCode(code);
        showScanOutcome(kind, code);
        if (kind == CodeClass::User && recipientSelected())
            scannedHolder = m_desk.qSearch_U.text(col::Key);
    } catch (const DbError& e) {
        // The code was not looked up: say so, so that it is scanned again.
        tellDeskFailure(withoutServerWords(scanFailure(code, e, m_session.texts()), e));
        tellDatabaseFailure(e);
        return true;
    }
    if (toolSelected() && recipientSelected())
        recordEvent();
    if (!scannedHolder.isEmpty())
        showOverdue(scannedHolder);
    refreshJournalFormat();
    return true;
}

// Told after the event, so that a tool just returned is no longer counted;
// the event itself is never held up by it.
void TfmMain::showOverdue(const QString& holderKey)
{
    QString note;
    try {
        const QDate today = m_platform.clock.now().date();
        note = overdueNote(ToolsOut::overdueOnly(ToolsOut::load(m_session.connection(), today, holderKey), today),
                           m_session.texts());
    } catch (const DbError&) {
        return; // only a reminder: the event's own outcome is what the line must tell
    }
    if (note.isEmpty() || m_messages->showsFailure())
        return;
    const QString before = m_messages->text();
    m_messages->showNote(before.isEmpty() ? note : before + u'\n' + note);
}

// A code that does nothing says so under the box, with no dialog to dismiss.
void TfmMain::showScanOutcome(CodeClass kind, const QString& code)
{
    const Messages& t = m_session.texts();
    if (kind == CodeClass::None)
        m_messages->showNote(t.rsCodeNotFound + code);
    else if (kind == CodeClass::Tool && !toolSelected())
        m_messages->showNote(t.rsToolWrittenOffCode + code);
}

void TfmMain::recordEvent()
{
    try {
        // Waiting for another desk shows; it ends in the message below.
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        AddToHistory();
        QGuiApplication::restoreOverrideCursor();
    } catch (const DbError& e) {
        QGuiApplication::restoreOverrideCursor();
        tellDeskFailure(withoutServerWords(eventFailure(e, m_session.texts()), e));
        tellDatabaseFailure(e);
        return;
    }
    if (m_session.settings().playSound())
        m_platform.sound.play(m_session.paths().sound);
}

QString TfmMain::GetData()
{
    return codeClassName(m_desk.classify(edInput->text()));
}

void TfmMain::AddToHistory()
{
    if (m_desk.record(m_platform.clock.now()) == EventRecorder::Result::RefusedHolder) {
        m_messages->showNote(m_session.texts().rsIssuedToOther);
        m_platform.sound.beep();
    }
}

// ---- Batch issue and timers -------------------------------------------------

bool TfmMain::batchIssue() const
{
    return m_desk.batch();
}

void TfmMain::showPacketCountdown()
{
    lbPacketTimer->setText(QString::number(m_session.settings().packetTimer() - PacketSeconds));
}

void TfmMain::paintBatchButton()
{
    const Messages& t = m_session.texts();
    if (batchIssue()) {
        btPacket->setText(t.rsFinish);
        btPacket->setColour(kBatchOn);
        showPacketCountdown();
        lbPacketTimer->show();
    } else {
        btPacket->setText(t.rsBatchIssue);
        btPacket->setColour(kBatchOff);
        lbPacketTimer->setText(QStringLiteral("0"));
        lbPacketTimer->hide();
    }
}

void TfmMain::btPacketClick()
{
    m_desk.setBatch(!m_desk.batch());
}

void TfmMain::showHeading()
{
    const Messages& t = m_session.texts();
    m_heading->setText(batchIssue() ? t.rsBatchIssueHeading : t.rsIssueHeading);
}

void TfmMain::TimerTimer()
{
    lookAtDatabase();
    const Settings& settings = m_session.settings();
    if (IdleSeconds >= settings.timerInterval()) {
        clearIdleDesk();
        IdleSeconds = 0;
    }
    ++IdleSeconds;
    if (!batchIssue())
        return;
    if (PacketSeconds >= settings.packetTimer())
        btPacketClick();
    ++PacketSeconds;
    showPacketCountdown();
}

void TfmMain::lookAtDatabase()
{
    try {
        if (!recoverLostLogFile())
            return;
        followOtherDesks();
        if (!m_toolIdentitiesGiven) {
            // Tools a script wrote without an identity get theirs once,
            // before their events are looked for; new ones get it at their first event.
            ToolIdentities::assignMissing(m_session.connection());
            m_toolIdentitiesGiven = true;
        }
        // Idle: the log goes back into DB.mdb, so a copy of that file alone
        // is a backup. Cheap when there is nothing to write; another desk
        // reading only puts it off to the next tick.
        if (++m_quietSeconds > kCheckpointAfterIdleSeconds)
            m_session.connection().checkpoint();
    } catch (const DbError& e) {
        if (e.cause() == DbError::Cause::Busy)
            return; // another desk is writing: it passes
        // A lasting failure beeps once, not at every tick.
        if (m_messages->showStanding(databaseFailing(e, m_session.texts())))
            m_platform.sound.beep();
        return;
    }
    // The database answered: whatever stood in the way is gone.
    m_messages->clearStanding();
}

void TfmMain::followOtherDesks()
{
    if (m_otherDesks.changedElsewhere())
        m_otherDesksChanged = true;
    if (!m_otherDesksChanged || storekeeperBusy())
        return;
    try {
        showOtherDesksChanges();
    } catch (const DbError&) {
        // Tried again at the next tick, whose look tells a lasting failure.
    }
}

bool TfmMain::recoverLostLogFile()
{
    Connection& db = m_session.connection();
    if (!db.logFileLost())
        return true;
    // Someone deleted the log file this desk still writes into: its events
    // live only in the open file. Write them into DB.mdb now, then open the
    // database again so that new events go to a log file that exists.
    const Messages& t = m_session.texts();
    const QString log = QFileInfo(db.path()).fileName() + QStringLiteral("-wal");
    if (!db.checkpoint()) {
        // Another desk still reads: said until the next look manages it.
        if (m_messages->showStanding({t.rsLogFileLost.arg(log), QString()}))
            m_platform.sound.beep();
        return false;
    }
    db.reopen();
    m_otherDesks.start();
    m_otherDesksChanged = true; // read everything again from the file
    m_messages->clearStanding();
    m_messages->showNote(t.rsLogFileRecovered.arg(log));
    return true;
}

void TfmMain::clearIdleDesk()
{
    try {
        if (!batchIssue())
            m_desk.clearRecipient();
        m_desk.clearTool();
    } catch (const DbError&) {
        // A selection whose clearing failed is closed, so it is empty all the
        // same; the idle look tells why the database did not answer.
    }
}

template<typename Handler>
bool TfmMain::atDesk(Handler&& handler)
{
    return runReporting(
        [this](const QString& text, const DbError* error) {
            tellDeskFailure({m_session.texts().rsRequestError, text});
            if (error)
                tellDatabaseFailure(*error);
        },
        std::forward<Handler>(handler));
}

void TfmMain::tellDeskFailure(const FailureMessage& failure)
{
    m_messages->showFailure(failure);
    m_platform.sound.beep();
}

FailureMessage TfmMain::withoutServerWords(FailureMessage failure, const DbError& error)
{
    // The standing line above says why the server is away, once.
    if (isConnectionFailure(error))
        failure.detail.clear();
    return failure;
}

void TfmMain::tellDatabaseFailure(const DbError& error)
{
    // The server is away: said until the idle look reaches it again.
    if (isConnectionFailure(error))
        m_messages->showStanding(databaseFailing(error, m_session.texts()));
}

bool TfmMain::storekeeperBusy() const
{
    // A dialog is open (an editor, a card, a question): ticks run under it.
    if (QApplication::activeModalWidget())
        return true;
    // A code is coming in: a key since the last tick.
    if (!edInput->text().isEmpty() && m_quietSeconds == 0)
        return true;
    for (const Query* q :
         {&m_session.qHistory, &m_session.qTools, &m_session.qUsers, &m_desk.qSearch_U, &m_desk.qSearch_T}) {
        if (q->state() != Query::State::Browse)
            return true; // a row being changed
    }
    return false;
}

// The desk's pair and the tool list's current tool as stored now; the
// journal, where the storekeeper left it, and a tool list in view when
// another desk recorded events. Other lists are read again when shown.
void TfmMain::showOtherDesksChanges()
{
    m_desk.reread();
    Query& tools = m_session.qTools;
    if (tools.isOpen() && tools.recNo() >= 0) {
        try {
            tools.refreshCurrent();
        } catch (const DbError&) {
            // Deleted meanwhile: the list drops it at its next search.
        }
    }
    // The engine also reports a desk emptying its log, which changes nothing:
    // only new events move the journal.
    // After a new connection nobody told this desk what happened meanwhile
    // (tools edited elsewhere too): everything in view is read again once.
    const qint64 newest = m_session.connection().largest(Select(col::History::Table), col::Key).toLongLong();
    const bool reconnected = m_otherDesks.reconnected();
    m_otherDesksChanged = false;
    if (newest == m_newestJournalRow && !reconnected)
        return;
    grid_History->reopenInPlace(col::Key);
    m_navigator.notifyOtherDesksChanged();
}

// An event recorded here, at the desk or from a card: the new row on top
// and current; a title-click sort is dropped. The event stands even when
// the journal cannot be read now: that is told, not the event's failure.
// When the row is the next after the newest one shown, it goes in on top as
// written, without reading the journal again; otherwise (a sort, rows of
// other desks not shown yet) the journal is read again.
void TfmMain::showNewJournalRow(const QVariantMap& row)
{
    atDesk([this, &row] {
        Query& journal = m_session.qHistory;
        const qint64 key = row.value(col::Key).toLongLong();
        const bool next = key > 0 && key == m_newestJournalRow + 1;
        if (next && journal.isOpen() && journal.sort().isEmpty() && journal.state() == Query::State::Browse) {
            journal.insertOnTop(row);
            m_newestJournalRow = key;
        } else {
            journal.reopen();
        }
    });
}

void TfmMain::noteNewestJournalRow()
{
    // Unsorted, the journal lists the newest event first.
    const Query& journal = m_session.qHistory;
    if (journal.isOpen() && journal.sort().isEmpty())
        m_newestJournalRow = journal.isEmpty() ? 0 : journal.value(0, journal.fieldIndex(col::Key)).toLongLong();
}

void TfmMain::tmrShowMainFormTimer()
{
    const Settings& settings = m_session.settings();
    if (!FormStarted || !settings.showMainForm())
        return;
    if (m_platform.windows.applicationInBackground() || m_platform.windows.isMinimised(this)) {
        ++RestoreSeconds;
        if (RestoreSeconds >= settings.showMainFormTimer()) {
            CollapseAllWindow();
            m_platform.windows.restore(this);
            Panel4Click();
            edInput->setFocus();
        }
    } else {
        RestoreSeconds = 0;
    }
}

void TfmMain::CollapseAllWindow()
{
    m_platform.windows.minimiseOthers(this);
}

// ---- Frame and journal ------------------------------------------------------

void TfmMain::addPage(QWidget* page, const char* entryName)
{
    pConteiner->addWidget(page);
    m_pages << page;
    auto* entry = m_leftPanel->findChild<QAbstractButton*>(QLatin1String(entryName));
    if (!entry)
        return;
    m_entryPages.insert(entry, page);
    guardedConnect(entry, &QAbstractButton::clicked, this, m_platform.dialogs, [this, page] { showPage(page); });
    followAccessMode();
}

void TfmMain::followAccessMode()
{
    const Messages& t = m_session.texts();
    switch (m_session.accessMode()) {
    case Session::AccessMode::None:
        break;
    case Session::AccessMode::Restricted:
        setWindowTitle(t.rsCaptionReadOnly);
        break;
    case Session::AccessMode::Operator:
        FormStarted = true;
        break;
    case Session::AccessMode::Administrator:
        setWindowTitle(t.rsCaptionAdmin);
        FormStarted = true;
        break;
    }
    // Settings are the administrator's, write-off waits for the administrator.
    const bool operatorOnly = m_session.accessMode() == Session::AccessMode::Operator;
    for (auto it = m_entryPages.cbegin(); it != m_entryPages.cend(); ++it) {
        QAbstractButton* entry = it.key();
        if (entry == btWriteOff)
            entry->setVisible(m_session.isAdministrator());
        else if (entry == btSettings)
            entry->setVisible(!operatorOnly);
        else
            entry->show();
    }
}

void TfmMain::ShowMenu(QWidget* page)
{
    for (QWidget* p : m_pages)
        p->hide();
    pConteiner->setCurrentWidget(page);
    page->show();
}

QWidget* TfmMain::currentPage() const
{
    return pConteiner->currentWidget();
}

void TfmMain::showPage(QWidget* page)
{
    ShowMenu(page);
    if (auto* p = dynamic_cast<Page*>(page))
        p->pageShown();
}

void TfmMain::Panel4Click()
{
    ShowMenu(pMain);
    edInput->setFocus();
    grid_History->spreadColumns();
}

void TfmMain::grid_HistoryTitleClick(int column)
{
    grid_History->toggleSort(column);
}

void TfmMain::grid_HistoryDblClick()
{
    Query& journal = m_session.qHistory;
    if (!journal.isOpen() || journal.isEmpty())
        return;
    const auto note = m_platform.dialogs.input(this, QStringLiteral("Enter note"), m_session.texts().rsNotePrefix,
                                               journal.text(col::History::Note));
    if (!note)
        return;
    try {
        journal.edit();
        journal.setValue(col::History::Note, *note);
        journal.post();
    } catch (const DbError&) {
        journal.cancel(); // the row keeps its old note
        throw;
    }
    journal.reopen();
}

void TfmMain::ShowTimeColumn(bool showTime)
{
    const bool russian = m_session.russian();
    m_historyModel->setColumnField(kJournalTimeColumn, showTime ? col::History::ATime : col::History::IType);
    const char* title = showTime ? (russian ? "Время" : "Time") : (russian ? "Тип инструмента" : "Tool");
    m_historyModel->setColumnTitle(kJournalTimeColumn, QString::fromUtf8(title));
    refreshJournalFormat();
}

void TfmMain::refreshJournalFormat()
{
    const int c = m_historyModel->columnOfField(col::History::ATime);
    if (c >= 0)
        m_historyModel->setDisplayFormat(c, QStringLiteral("hh:mm:ss"));
}

void TfmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // Values are read out with their captions; the entry box by its hint.
    for (int i = 0; i < m_captions.size() && i < m_values.size(); ++i) {
        m_values[i]->setCaption(m_captions[i]->text());
    }
    lbPacketTimer->setCaption(m_session.texts().rsBatchSecondsLeft);
    edInput->setAccessibleName(edInput->placeholderText());
    showHeading(); // in the new language, for the batch state
    grid_History->setAccessibleName(m_heading->text());
    for (auto it = m_entryKeys.cbegin(); it != m_entryKeys.cend(); ++it)
        it.key()->setToolTip(it.key()->text() + QStringLiteral(" (") + it.value().toString(QKeySequence::NativeText)
                             + u')');
    paintBatchButton();
    ShowTimeColumn(m_session.settings().showTime());
}
