#include "TfmMain.h"

#include "CodeLookup.h"
#include "EventRecorder.h"
#include "app/Forms.h"
#include "config/IniFile.h"
#include "config/Messages.h"
#include "config/TfmSettings.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "data/Schema.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/WindowManager.h"
#include "platform/Clock.h"
#include "tools/TfmTools.h"
#include "widgets/ColourButton.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/DbText.h"
#include "widgets/ErrorGuard.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kMain = QStringLiteral("MAIN");
const QString kNoRecipient = QStringLiteral("SELECT * FROM Users WHERE ID=0000");
const QString kNoTool = QStringLiteral("SELECT * FROM Tools WHERE ID=0000");
const QColor kBatchOff(248, 148, 110);
const QColor kBatchOn(45, 172, 61);
const QColor kDeskEntry(45, 172, 61);
const QColor kDeskEntryHover(52, 203, 71);
constexpr int kJournalTimeColumn = 3;

const char* const kRecipientFields[4] = {"ID_User", "FIO", "Organization", "Otdel"};
const char* const kToolFields[4] = {"ID_Tool", "Tool_Type", "Proizvoditel", "Model"};

QPushButton* entryButton(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(173, 49);
    b->setFlat(true);
    return b;
}

} // namespace

TfmMain::TfmMain(Forms& forms, Platform& platform, const QString& programFolder, QWidget* parent)
    : QWidget(parent)
    , m_connection(std::make_unique<Connection>())
    , qHistory(*m_connection)
    , qTools(*m_connection)
    , qUsers(*m_connection)
    , qOper(*m_connection)
    , qStat(*m_connection)
    , qSearch_U(*m_connection)
    , qSearch_T(*m_connection)
    , m_forms(forms)
    , m_platform(platform)
    , m_folder(programFolder)
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
    layout->addWidget(Panel1);
    pConteiner = new QStackedWidget(this);
    pConteiner->setObjectName(QStringLiteral("pConteiner"));
    layout->addWidget(pConteiner, 1);
    buildDesk();
    pConteiner->addWidget(pMain);
    m_pages << pMain;
    resize(1123, 576);

    Timer.setInterval(1000);
    tmrShowMainForm.setInterval(1000);
    connect(&Timer, &QTimer::timeout, this, [this] { runGuarded(m_platform.dialogs, this, [this] { TimerTimer(); }); });
    connect(&tmrShowMainForm, &QTimer::timeout, this, [this] { tmrShowMainFormTimer(); });
}

TfmMain::~TfmMain() = default;

void TfmMain::buildLeftPanel()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(185);
    Panel1->setAutoFillBackground(true);
    QPalette p = Panel1->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    Panel1->setPalette(p);
    Panel1->setStyleSheet(QStringLiteral("QPushButton { color: white; font-weight: bold; border: none; }"
                                         "QPushButton:hover { background-color: rgba(255, 255, 255, 40); }"));
    auto* v = new QVBoxLayout(Panel1);
    v->setContentsMargins(5, 5, 5, 5);

    Panel4 = new ColourButton(Panel1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedSize(173, 49);
    Panel4->setColour(kDeskEntry);
    connect(Panel4, &ColourButton::hovered, this,
            [this](bool inside) { Panel4->setColour(inside ? kDeskEntryHover : kDeskEntry); });
    connect(Panel4, &QPushButton::pressed, this, [this] { Panel4->setSunken(true); });
    connect(Panel4, &QPushButton::released, this, [this] { Panel4->setSunken(false); });
    connect(Panel4, &QPushButton::clicked, this, &TfmMain::Panel4Click);

    SpeedButton5 = entryButton(Panel1, "SpeedButton5");
    SpeedButton4 = entryButton(Panel1, "SpeedButton4");
    SpeedButton3 = entryButton(Panel1, "SpeedButton3");
    btWriteOff = entryButton(Panel1, "btWriteOff");
    btSettings = entryButton(Panel1, "btSettings");
    btAuth_x = entryButton(Panel1, "btAuth_x");
    SpeedButton1 = entryButton(Panel1, "SpeedButton1");
    // Entries whose pages are not part of the program yet stay hidden.
    SpeedButton5->hide();
    SpeedButton4->hide();
    SpeedButton3->hide();
    btWriteOff->hide();
    btAuth_x->hide();
    connect(btSettings, &QPushButton::clicked, this, &TfmMain::btSettingsClick);
    connect(SpeedButton4, &QPushButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { SpeedButton4Click(); }); });
    connect(SpeedButton1, &QPushButton::clicked, this, &QWidget::close);

    for (QWidget* w : {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(SpeedButton5),
                       static_cast<QWidget*>(SpeedButton4), static_cast<QWidget*>(SpeedButton3),
                       static_cast<QWidget*>(btWriteOff), static_cast<QWidget*>(btSettings),
                       static_cast<QWidget*>(btAuth_x)})
        v->addWidget(w);
    v->addStretch();
    v->addWidget(SpeedButton1);
}

QGroupBox* TfmMain::buildPanel(const char* name, Query& query, const char* const fields[4], int firstLabel,
                               DbImage*& image, QToolButton*& clearButton, const char* buttonName)
{
    auto* box = new QGroupBox(pMain);
    box->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(box);
    image = new DbImage(query, QStringLiteral("Photo"), QSize(129, 137), box);
    image->setObjectName(firstLabel == 1 ? QStringLiteral("DBImage1") : QStringLiteral("DBImage2"));
    grid->addWidget(image, 0, 0, 9, 1, Qt::AlignTop);
    for (int i = 0; i < 4; ++i) {
        auto* caption = new QLabel(box);
        caption->setObjectName(QStringLiteral("Label%1").arg(firstLabel + i));
        auto* value = new DbText(query, QLatin1String(fields[i]), box);
        value->setObjectName(QStringLiteral("DBText%1").arg(firstLabel + i));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        grid->addWidget(caption, 2 * i, 1);
        grid->addWidget(value, 2 * i + 1, 1);
        captions << caption;
        values << value;
    }
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(1, 1);
    clearButton = new QToolButton(box);
    clearButton->setObjectName(QLatin1String(buttonName));
    clearButton->setText(QStringLiteral("-"));
    clearButton->setAutoRaise(true);
    grid->addWidget(clearButton, 0, 2, Qt::AlignTop | Qt::AlignRight);
    return box;
}

void TfmMain::buildDesk()
{
    pMain = new QWidget(pConteiner);
    pMain->setObjectName(QStringLiteral("pMain"));
    auto* v = new QVBoxLayout(pMain);
    v->setContentsMargins(6, 6, 6, 6);

    auto* top = new QWidget(pMain);
    top->setFixedHeight(289);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);

    auto* headRow = new QHBoxLayout;
    Label9 = new QLabel(top);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setAlignment(Qt::AlignCenter);
    QFont headFont = Label9->font();
    headFont.setPixelSize(18);
    headFont.setBold(true);
    Label9->setFont(headFont);
    cbClear = new QCheckBox(top);
    cbClear->setObjectName(QStringLiteral("cbClear"));
    connect(cbClear, &QCheckBox::toggled, this, &TfmMain::cbClearClick);
    cbPacketIssued = new QCheckBox(top);
    cbPacketIssued->setObjectName(QStringLiteral("cbPacketIssued"));
    cbPacketIssued->hide();
    connect(cbPacketIssued, &QCheckBox::toggled, this, &TfmMain::cbPacketIssuedClick);
    btEndPacketIssue = new QPushButton(top);
    btEndPacketIssue->setObjectName(QStringLiteral("btEndPacketIssue"));
    btEndPacketIssue->hide();
    headRow->addStretch(1);
    headRow->addWidget(Label9, 2);
    headRow->addStretch(1);
    headRow->addWidget(cbClear, 0, Qt::AlignTop);
    topLayout->addLayout(headRow);

    auto* inputRow = new QHBoxLayout;
    btPacket = new ColourButton(top);
    btPacket->setObjectName(QStringLiteral("btPacket"));
    btPacket->setFixedSize(150, 40);
    connect(btPacket, &QPushButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { btPacketClick(); }); });
    edInput = new QLineEdit(top);
    edInput->setObjectName(QStringLiteral("edInput"));
    edInput->setMaxLength(16);
    edInput->setAlignment(Qt::AlignCenter);
    QFont inputFont = edInput->font();
    inputFont.setPixelSize(21);
    edInput->setFont(inputFont);
    edInput->setMinimumWidth(320);
    edInput->installEventFilter(this);
    lbPacketTimer = new QLabel(QStringLiteral("0"), top);
    lbPacketTimer->setObjectName(QStringLiteral("lbPacketTimer"));
    lbPacketTimer->setFixedWidth(60);
    lbPacketTimer->hide();
    inputRow->addWidget(btPacket);
    inputRow->addStretch(1);
    inputRow->addWidget(edInput, 2);
    inputRow->addWidget(lbPacketTimer);
    inputRow->addStretch(1);
    topLayout->addLayout(inputRow);

    auto* panels = new QHBoxLayout;
    GroupBox1 = buildPanel("GroupBox1", qSearch_U, kRecipientFields, 1, DBImage1, SpeedButton6, "SpeedButton6");
    GroupBox2 = buildPanel("GroupBox2", qSearch_T, kToolFields, 5, DBImage2, SpeedButton7, "SpeedButton7");
    toolIdentity = new DbText(qSearch_T, QStringLiteral("ID_Tool_Unique"), GroupBox2);
    toolIdentity->setObjectName(QStringLiteral("DBText_Unique"));
    toolIdentity->hide();
    connect(SpeedButton6, &QToolButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { SpeedButton6Click(); }); });
    connect(SpeedButton7, &QToolButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { SpeedButton7Click(); }); });
    panels->addWidget(GroupBox1);
    panels->addWidget(GroupBox2);
    topLayout->addLayout(panels, 1);
    v->addWidget(top);

    grid_History = new DbGrid(pMain);
    grid_History->setObjectName(QStringLiteral("grid_History"));
    m_historyModel = new QueryModel(qHistory, grid_History);
    m_historyModel->setColumns({{QStringLiteral("ADate"), {}, {}},
                                {QStringLiteral("Operation"), {}, {}},
                                {QStringLiteral("FIO"), {}, {}},
                                {QStringLiteral("IType"), {}, {}},
                                {QStringLiteral("Model"), {}, {}},
                                {QStringLiteral("Organization"), {}, {}},
                                {QStringLiteral("State"), {}, {}},
                                {QStringLiteral("Note"), {}, {}}});
    grid_History->setQueryModel(m_historyModel);
    const int widths[] = {80, 60, 150, 120, 120, 120, 100, 140};
    for (int i = 0; i < 8; ++i)
        grid_History->setColumnWidth(i, widths[i]);
    grid_History->installEventFilter(this);
    connect(grid_History, &DbGrid::titleClicked, this,
            [this](int c) { runGuarded(m_platform.dialogs, this, [&] { grid_HistoryTitleClick(c); }); });
    connect(grid_History, &DbGrid::rowDoubleClicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { grid_HistoryDblClick(); }); });
    v->addWidget(grid_History, 1);
}

bool TfmMain::FormCreate()
{
    const Messages& t = *m_forms.texts;
    setWindowTitle(t.rsCaptionMain);
    const QString dbPath = m_folder + QStringLiteral("Data/DB.mdb");
    try {
        m_connection->open(dbPath);
        qHistory.setSql(Schema::historySql());
        qHistory.open();
        qUsers.setSql(QStringLiteral("SELECT * FROM Users"));
        qUsers.open();
        Schema schema(*m_connection, qTools, qHistory, [this] {
            m_platform.dialogs.message(
                this, QStringLiteral("Для начала реконструкции БД нажмите ОК (Может занять некоторое время)"));
        });
        qTools.setSql(schema.toolsDesignSql());
        qTools.open();
        schema.upgrade();
        qTools.setSql(QStringLiteral("SELECT * FROM Tools WHERE WriteOff<>%1 ORDER BY %2")
                          .arg(m_connection->dialect().sqlTrue(), m_connection->dialect().falseFirst(QStringLiteral("Passed"))));
        qTools.open();
        qOper.setSql(QStringLiteral("SELECT * FROM Operations"));
        qOper.open();
        qStat.setSql(QStringLiteral("SELECT * FROM State"));
        qStat.open();
        qSearch_T.setSql(QStringLiteral("SELECT * FROM Tools WHERE ID=00000"));
        qSearch_T.open();
        qSearch_U.setSql(QStringLiteral("SELECT * FROM Users WHERE ID=00000"));
        qSearch_U.open();
    } catch (const DbError& e) {
        // A database that cannot be opened or brought up to date is never used.
        m_platform.dialogs.error(this, e.text());
        return false;
    }
    m_iniPath = m_folder + QStringLiteral("Data/Config.ini");
    m_soundPath = m_folder + QStringLiteral("Data/sound.mp3");
    if (!QFileInfo::exists(m_iniPath)) {
        m_platform.dialogs.message(this, kConfigNotFoundRu);
        return false;
    }
    FormStarted = false;
    btPacket->setColour(kBatchOff);
    return true;
}

void TfmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    refreshJournalFormat();
    if (m_forms.settings)
        m_forms.settings->cbShowTimeClick();
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
    return qSearch_U.isOpen() && !qSearch_U.isEmpty();
}

bool TfmMain::toolSelected() const
{
    return qSearch_T.isOpen() && !qSearch_T.isEmpty();
}

void TfmMain::emptyRecipient()
{
    qSearch_U.setSql(kNoRecipient);
    qSearch_U.open();
}

void TfmMain::emptyTool()
{
    qSearch_T.setSql(kNoTool);
    qSearch_T.open();
}

void TfmMain::SpeedButton6Click()
{
    emptyRecipient();
}

void TfmMain::SpeedButton7Click()
{
    emptyTool();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edInput && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        bool consumed = false;
        runGuarded(m_platform.dialogs, this, [&] { consumed = edInputKeyDown(key); });
        return consumed || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (watched == grid_History && event->type() == QEvent::Resize)
        SizeGrid(grid_History);
    return QWidget::eventFilter(watched, event);
}

bool TfmMain::edInputKeyDown(int key)
{
    // Any key in the box is activity for the idle and batch timers.
    if (m_forms.settings)
        lbPacketTimer->setText(QString::number(m_forms.settings->edPacketTimer->value() - PacketSeconds));
    IdleSeconds = 0;
    PacketSeconds = 0;
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;

    if (toolSelected() && recipientSelected()) {
        emptyTool();
        if (!batchIssue())
            emptyRecipient();
    }
    const QString code = edInput->text();
    const QString kind = GetData();
    if (kind == u"user") {
        qSearch_U.setSql(QStringLiteral("SELECT * FROM Users WHERE ID_User=?"), {code});
        qSearch_U.open();
    } else if (kind == u"tool") {
        qSearch_T.setSql(QStringLiteral("SELECT * FROM Tools WHERE (ID_Tool=?) AND (WriteOff<>%1)")
                             .arg(m_connection->dialect().sqlTrue()),
                         {code});
        qSearch_T.open();
    }
    edInput->clear();
    if (toolSelected() && recipientSelected()) {
        AddToHistory();
        if (m_forms.settings && m_forms.settings->cbPlaySound->isChecked())
            m_platform.sound.play(m_soundPath);
    }
    refreshJournalFormat();
    return true;
}

QString TfmMain::GetData()
{
    return codeClassName(classifyCode(*m_connection, edInput->text()));
}

void TfmMain::AddToHistory()
{
    EventRecorder::Input input;
    input.russian = m_forms.russian();
    input.holderRuleOn = m_forms.settings && m_forms.settings->cbReturnToolOnlyOwner->isChecked();
    input.now = m_platform.clock.now();
    EventRecorder recorder(*m_connection, qSearch_U, qSearch_T, qHistory);
    const EventRecorder::Result result = recorder.record(input);
    if (result == EventRecorder::Result::RefusedHolder) {
        m_platform.dialogs.message(this, m_forms.texts->rsIssuedToOther);
        if (cbClear->isChecked()) {
            emptyTool();
            if (!batchIssue())
                emptyRecipient();
        }
        return;
    }
    qHistory.reopen(); // the new row on top; a title-click sort is dropped
    refreshJournalFormat();
    if (cbClear->isChecked()) {
        emptyTool();
        if (!batchIssue())
            emptyRecipient();
    }
}

// ---- Batch issue and timers -------------------------------------------------

bool TfmMain::batchIssue() const
{
    return cbPacketIssued->isChecked();
}

void TfmMain::paintBatchButton()
{
    const Messages& t = *m_forms.texts;
    if (batchIssue()) {
        btPacket->setText(t.rsFinish);
        btPacket->setColour(kBatchOn);
        if (m_forms.settings)
            lbPacketTimer->setText(QString::number(m_forms.settings->edPacketTimer->value() - PacketSeconds));
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
    cbPacketIssued->setChecked(!cbPacketIssued->isChecked());
    paintBatchButton();
}

void TfmMain::cbPacketIssuedClick()
{
    if (batchIssue())
        PacketSeconds = 0;
    showHeading();
}

void TfmMain::showHeading()
{
    const Messages& t = *m_forms.texts;
    Label9->setText(batchIssue() ? t.rsBatchIssueHeading : t.rsIssueHeading);
}

void TfmMain::TimerTimer()
{
    if (!m_forms.settings)
        return;
    if (IdleSeconds >= m_forms.settings->edTimer->value()) {
        if (!batchIssue())
            emptyRecipient();
        emptyTool();
        IdleSeconds = 0;
    }
    ++IdleSeconds;
    if (!batchIssue())
        return;
    if (PacketSeconds >= m_forms.settings->edPacketTimer->value())
        btPacketClick();
    ++PacketSeconds;
    lbPacketTimer->setText(QString::number(m_forms.settings->edPacketTimer->value() - PacketSeconds));
}

void TfmMain::tmrShowMainFormTimer()
{
    if (!FormStarted || !m_forms.settings || !m_forms.settings->cbShowMainForm->isChecked())
        return;
    if (m_platform.windows.applicationInBackground() || m_platform.windows.isMinimised(this)) {
        ++RestoreSeconds;
        if (RestoreSeconds >= m_forms.settings->edShowTimer->value()) {
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

// ---- Settings of the desk ---------------------------------------------------

bool TfmMain::GetNaeedClear() const
{
    const auto value = IniFile(m_iniPath).read(kMain, QStringLiteral("ClearCheckBox"));
    return IniFile::toBool(value.value_or(QStringLiteral("0"))).value_or(false);
}

void TfmMain::SetNeedClear(bool value) const
{
    IniFile(m_iniPath).write(kMain, QStringLiteral("ClearCheckBox"), value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfmMain::cbClearClick()
{
    if (!m_iniPath.isEmpty())
        SetNeedClear(cbClear->isChecked());
}

// ---- Frame and journal ------------------------------------------------------

void TfmMain::addPage(QWidget* page, QAbstractButton* entry)
{
    pConteiner->addWidget(page);
    m_pages << page;
    if (entry) {
        m_entries << entry;
        entry->setVisible(entry != btWriteOff); // write-off waits for the administrator
    }
}

void TfmMain::showEntry(QAbstractButton* entry)
{
    if (m_entries.contains(entry))
        entry->show();
}

bool TfmMain::isAdministrator() const
{
    const Messages& t = *m_forms.texts;
    return windowTitle() != t.rsCaptionReadOnly && windowTitle() != t.rsCaptionMain;
}

void TfmMain::ShowMenu(QWidget* sender)
{
    for (QWidget* page : m_pages)
        page->hide();
    pConteiner->setCurrentWidget(sender);
    sender->show();
}

void TfmMain::Panel4Click()
{
    ShowMenu(pMain);
    edInput->setFocus();
    SizeGrid(grid_History);
}

void TfmMain::SpeedButton4Click()
{
    TfmTools* tools = m_forms.tools;
    if (!tools)
        return;
    tools->LoadWorkTypes();
    ShowMenu(tools);
    tools->FormShow();
    tools->applySavedSort();
    SetColumnView();
    SizeGrid(tools->DBGrid1);
}

void TfmMain::btSettingsClick()
{
    if (m_forms.settings)
        ShowMenu(m_forms.settings);
}

void TfmMain::grid_HistoryTitleClick(int column)
{
    const QString field = m_historyModel->columns().value(column).field;
    if (field.isEmpty())
        return;
    const QString ascending = field + QStringLiteral(" ASC");
    qHistory.setSort(qHistory.sort() == ascending ? field + QStringLiteral(" DESC") : ascending);
}

void TfmMain::grid_HistoryDblClick()
{
    if (!qHistory.isOpen() || qHistory.isEmpty())
        return;
    const auto note = m_platform.dialogs.input(this, QStringLiteral("Enter note"), m_forms.texts->rsNotePrefix,
                                               qHistory.text(QStringLiteral("Note")));
    if (!note)
        return;
    try {
        qHistory.edit();
        qHistory.setValue(QStringLiteral("Note"), *note);
        qHistory.post();
    } catch (const DbError&) {
        qHistory.cancel(); // the row keeps its old note
        throw;
    }
    qHistory.reopen();
    refreshJournalFormat();
}

void TfmMain::SizeGrid(DbGrid* grid)
{
    if (!grid || !grid->model())
        return;
    const int count = grid->model()->columnCount();
    int visible = 0;
    for (int i = 0; i < count; ++i)
        visible += grid->isColumnHidden(i) ? 0 : 1;
    if (visible == 0)
        return;
    const int width = (grid->contentsRect().width() - visible - 8) / visible;
    for (int i = 0; i < count; ++i)
        grid->setColumnWidth(i, std::max(0, width));
}

void TfmMain::registerToolGrid(DbGrid* grid)
{
    m_toolGrids << grid;
}

void TfmMain::SetColumnView()
{
    if (!m_forms.settings)
        return;
    const auto boxes = m_forms.settings->columnBoxes();
    for (const QPointer<DbGrid>& grid : m_toolGrids) {
        if (!grid)
            continue;
        for (int n = static_cast<int>(boxes.size()); n >= 1; --n)
            grid->setColumnHidden(n, !boxes.at(n - 1)->isChecked());
    }
}

void TfmMain::registerAdminButton(QWidget* button)
{
    m_adminButtons << button;
}

void TfmMain::DisabledButtons(bool flag)
{
    for (const QPointer<QWidget>& b : m_adminButtons) {
        if (b)
            b->setEnabled(!flag);
    }
    if (flag)
        setWindowTitle(m_forms.texts->rsCaptionReadOnly);
}

void TfmMain::ShowTimeColumn(bool showTime, bool russian)
{
    m_historyModel->setColumnField(kJournalTimeColumn, showTime ? QStringLiteral("ATime") : QStringLiteral("IType"));
    const char* title = showTime ? (russian ? "Время" : "Time") : (russian ? "Тип инструмента" : "Tool");
    m_historyModel->setColumnTitle(kJournalTimeColumn, QString::fromUtf8(title));
    refreshJournalFormat();
}

void TfmMain::refreshJournalFormat()
{
    const int c = m_historyModel->columnOfField(QStringLiteral("ATime"));
    if (c >= 0)
        m_historyModel->setDisplayFormat(c, QStringLiteral("hh:mm:ss"));
}

void TfmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // Values and the entry box are named after their captions for screen readers.
    for (int i = 0; i < captions.size() && i < values.size(); ++i)
        values[i]->setAccessibleName(captions[i]->text());
    edInput->setAccessibleName(edInput->placeholderText());
    showHeading(); // in the new language, for the batch state
    grid_History->setAccessibleName(Label9->text());
    paintBatchButton();
}
