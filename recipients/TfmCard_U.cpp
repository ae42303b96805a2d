#include "TfmCard_U.h"

#include "HeldTools.h"
#include "LastIssue.h"
#include "RecipientCaptions.h"
#include "core/DeskSelection.h"
#include "core/Navigator.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/MoneyText.h"
#include "data/QueryModel.h"
#include "data/Schema.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "reports/RtfReportAction.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/DbText.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/QueryGrid.h"
#include "widgets/ValueLabel.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kTimeFormat = QStringLiteral("hh:mm:ss");
constexpr int kJournalToolCodeColumn = 7; // then the tool's name
const QList<RecordCard::Shown> kDetails = {
    {col::Users::ID_User, 1}, {col::Users::FIO, 2},      {col::Users::Phone, 3},     {col::Users::Organization, 4},
    {col::Users::Otdel, 5},   {col::Users::Shef_FIO, 6}, {col::Users::Shef_Phone, 7}};

// The grid fills its page.
DbGrid* pageGrid(QWidget* page, const char* name, Query& rows, const QList<GridColumn>& columns,
                 const QList<int>& widths)
{
    DbGrid* grid = queryGrid(page, name, rows, columns, widths);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid);
    return grid;
}

} // namespace

TfmCard_U::TfmCard_U(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : RecordCard(platform, session.connection(), "TfmCard_U", QSize(760, 640), parent)
    , q2(session.connection())
    , m_session(session)
    , m_navigator(navigator)
{
    buildPhoto(session.qUsers, QSize(193, 203));
    auto* right = new QVBoxLayout;
    buildDetails(right);
    auto* top = new QHBoxLayout;
    top->addWidget(m_photo, 0, Qt::AlignTop);
    top->addLayout(right, 1);

    buildPages();
    buildLists();
    m_statementButton = button(this, "Button1");
    btReturn_Tool = button(this, "btReturn_Tool");
    btReturn_Tool->setEnabled(false);
    btLabel = button(this, "btLabel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btLabel);
    buttons->addWidget(m_statementButton);
    buttons->addWidget(btReturn_Tool);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    connectHandlers();
}

void TfmCard_U::buildDetails(QVBoxLayout* into)
{
    QGridLayout* fields = buildValues(m_session.qUsers, kDetails);
    const int row = fields->rowCount();
    m_totalCaption = named(new QLabel(this), "Label8");
    lbSUM = named(new ValueLabel(QStringLiteral("000.00р"), this), "lbSUM");
    QFont sumFont(QStringLiteral("Tahoma"));
    sumFont.setPixelSize(19);
    sumFont.setBold(true);
    lbSUM->setFont(sumFont);
    m_totalCaption->setBuddy(lbSUM);
    fields->addWidget(m_totalCaption, row, 0);
    fields->addWidget(lbSUM, row, 1);
    into->addLayout(fields);
    into->addStretch(1);
}

void TfmCard_U::buildLists()
{
    m_journalGrid = pageGrid(m_firstPage, "DBGrid1", q,
                             {{col::History::ADate, {}, {}},
                              {col::History::ATime, {}, kTimeFormat},
                              {col::History::Operation, {}, {}},
                              {col::History::IType, {}, {}},
                              {col::History::Model, {}, {}},
                              {col::History::State, {}, {}},
                              {col::History::Note, {}, {}},
                              {col::Tools::ID_Tool, {}, {}},
                              {col::Tools::Naim, {}, {}}},
                             {70, 50, 50, 100, 150, 70, 145, 100, 130});
    m_journalModel = m_journalGrid->queryModel();
    showJournalToolColumns();
    m_toolsGrid = pageGrid(m_secondPage, "DBGrid2", q2,
                           plainColumns({col::Tools::ID_Tool, col::Tools::Tool_Type, col::Tools::Model,
                                         col::Tools::SNumber, col::Tools::Price}),
                           {110, 120, 100, 100, 150});
    m_toolsModel = m_toolsGrid->queryModel();
}

void TfmCard_U::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btReturn_Tool, &QPushButton::clicked, this, d, [this] { btReturn_ToolClick(); });
    guardedConnect(btLabel, &QPushButton::clicked, this, d, [this] { btLabelClick(); });
    guardedConnect(m_statementButton, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(m_pages, &QTabWidget::currentChanged, this, d, [this](int i) { PageControl1Change(i); });
    guardedConnect(m_journalGrid, &DbGrid::titleClicked, this, d, [this](int c) { DBGrid1TitleClick(c); });
    guardedConnect(m_toolsGrid, &DbGrid::titleClicked, this, d, [this](int c) { DBGrid2TitleClick(c); });
    for (DbGrid* grid : {m_journalGrid, m_toolsGrid})
        reportErrorsOf(grid, &DbGrid::databaseError, this, d);
    connect(&m_session.settings(), &Settings::journalColumnsChanged, this, &TfmCard_U::showJournalToolColumns);
}

// The tool's code and name, after the journal's own columns.
void TfmCard_U::showJournalToolColumns()
{
    using Column = Settings::JournalColumn;
    const Settings& settings = m_session.settings();
    m_journalGrid->setColumnHidden(kJournalToolCodeColumn, !settings.journalColumnVisible(Column::ToolCode));
    m_journalGrid->setColumnHidden(kJournalToolCodeColumn + 1, !settings.journalColumnVisible(Column::ToolName));
    m_journalGrid->spreadColumns();
}

void TfmCard_U::execute()
{
    showLoaded([this] {
        loadCurrentRecipient();
        FormShow();
    });
}

void TfmCard_U::loadCurrentRecipient()
{
    const Query& users = m_session.qUsers;
    m_userCode = users.text(col::Users::ID_User);
    m_userKey = QString::number(users.integer(col::Key));
    reloadLists();
    showTotal();
}

void TfmCard_U::FormShow()
{
    m_journalModel->setDisplayFormat(m_journalModel->columnOfField(col::History::ATime), kTimeFormat);
}

void TfmCard_U::reloadLists()
{
    const SqlDialect& d = m_session.connection().dialect();
    q.setStatement(Schema::withToolColumns(Select(col::History::Table)
                                               .where(d.caselessEquals(col::History::ID_U, m_userCode), {m_userCode})
                                               .orderBy(col::Key, true)));
    m_journalSort.clear();
    q.open();
    q2.setStatement(heldToolsStatement(m_session.connection(), m_userKey));
    m_toolSort.clear();
    q2.open();
    m_journalModel->setDisplayFormat(m_journalModel->columnOfField(col::History::ATime), kTimeFormat);
}

void TfmCard_U::showTotal()
{
    double total = 0;
    const int price = q2.fieldIndex(col::Tools::Price);
    for (int row = 0; q2.isOpen() && price >= 0 && q2.setRecNo(row); ++row)
        total += q2.value(row, price).toDouble(); // an empty price adds nothing
    if (q2.isOpen() && !q2.isEmpty())
        q2.first();
    lbSUM->setText(moneyText(total, m_session.russian()));
}

void TfmCard_U::PageControl1Change(int index)
{
    const bool tools = index == m_pages->indexOf(m_secondPage);
    btReturn_Tool->setEnabled(tools);
    if (tools)
        m_toolsGrid->setFocus();
}

void TfmCard_U::DBGrid1TitleClick(int column)
{
    m_journalSort.toggle(q, *m_journalModel, column);
}

void TfmCard_U::DBGrid2TitleClick(int column)
{
    m_toolSort.toggle(q2, *m_toolsModel, column);
}

void TfmCard_U::btLabelClick()
{
    m_navigator.openLabels(LabelKind::Recipients, m_userCode.trimmed(), {});
}

void TfmCard_U::btReturn_ToolClick()
{
    if (!q2.isOpen() || q2.isEmpty() || q2.recNo() < 0)
        return;
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsReturnConfirm))
        return;
    bool returned = false;
    try {
        returned = returnCurrentTool();
    } catch (const DbError&) {
        m_platform.dialogs.error(this, m_session.texts().rsRequestError);
    }
    // The card shows the new total by the time the message is read.
    showTotal();
    if (returned)
        m_platform.dialogs.message(this, m_session.texts().rsReturnedByOperator);
}

bool TfmCard_U::returnCurrentTool()
{
    const qint64 toolKey = q2.integer(col::Key);
    const bool returned = m_session.desk().returnFromHolder(toolKey, m_userKey, m_platform.clock.now());
    // Either way the lists show the tools as stored now.
    reloadLists();
    if (returned)
        m_navigator.notifyToolsChanged();
    return returned;
}

QDateTime TfmCard_U::GetLastIssuedDate(const QString& ATool_ID, const QString& AUser_ID)
{
    QDate found = kNoIssueDate;
    try {
        findLastIssuedDate(m_session.connection(), ATool_ID, AUser_ID, found);
    } catch (const DbError& e) {
        m_platform.dialogs.error(this, QStringLiteral("GetLastIssuedDate: ") + e.text());
    }
    return QDateTime(found, QTime(0, 0));
}

void TfmCard_U::Calc_Issued_Date()
{
    const QString user = m_values.first()->text(); // the code shown on the card
    for (q2.first(); !q2.eof(); q2.next()) {
        const QDate issued = q2.date(col::Tools::Issued_date);
        // A date from 2000 on is kept, also after a later return and issue.
        if (issued.isValid() && issued.year() >= 2000)
            continue;
        const QDateTime last = GetLastIssuedDate(q2.text(col::Tools::ID_Tool_Unique), user);
        q2.edit();
        q2.setValue(col::Tools::Issued_date, last.date());
        q2.post();
    }
}

void TfmCard_U::Button1Click()
{
    Calc_Issued_Date();
    OnHandStatement::Holder holder;
    holder.fio = m_values.at(1)->text();
    holder.code = m_values.at(0)->text();
    holder.organization = m_values.at(3)->text();
    holder.toolCount = q2.recordCount();
    holder.total = lbSUM->text();
    const QString file = ReportFileName::onHand(m_session.paths().folder, holder.fio, m_platform.clock.now());
    // A long-serving worker's journal takes a while: shown, and may be stopped.
    buildAndWriteRtf(this, m_session, m_platform, file, [this, &holder](WorkProgress& progress) -> TfrxReport& {
        return statement.prepare(m_session.russian(), holder, q2, q, &progress);
    });
}

void TfmCard_U::languageChanged()
{
    lbSUM->setCaption(m_totalCaption->text());
    m_journalGrid->setAccessibleName(m_firstPage->windowTitle());
    m_toolsGrid->setAccessibleName(m_secondPage->windowTitle());
    runGuarded(m_platform.dialogs, this, [this] {
        if (q2.isOpen())
            showTotal();
    });
}

QList<Localization::Text> recipientCardTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {{"TfmCard_U", "", P::Title, 0, "Карточка получателя", "User card"}};
    rows += recipientCaptionTexts("TfmCard_U");
    rows += {
        {"TfmCard_U", "Label8", P::Caption, 0, "Инструмента на сумму", "Price"},
        {"TfmCard_U", "TabSheet1", P::Title, 0, "История выдачи", "History"},
        {"TfmCard_U", "TabSheet2", P::Title, 0, "Инструмент на руках", "Tools on hands"},
        {"TfmCard_U", "Button1", P::Caption, 0, "Инструмент на руках", "Tools on hands"},
        {"TfmCard_U", "btReturn_Tool", P::Caption, 0, "Вернуть инструмент", "To return the tool"},
        {"TfmCard_U", "btLabel", P::Caption, 0, "Пропуск", "Badge"},
        {"TfmCard_U", "btLabel", P::ToolTip, 0, "Пропуск этого получателя", "This worker's badge"},
    };
    const char* journal[][2] = {
        {"Дата", "Date"},        {"Время", "Time"},          {"Статус", "Status"},   {"Тип инструмента", "Tool"},
        {"Модель", "Model"},     {"Состояние", "Condition"}, {"Примечание", "Note"}, {"ID инструмента", "Tool ID"},
        {"Наименование", "Name"}};
    for (int i = 0; i < 9; ++i)
        rows.append({"TfmCard_U", "DBGrid1", P::ColumnTitle, i, journal[i][0], journal[i][1]});
    const char* tools[][2] = {{"ID инструмента", "ID tool"},
                              {"Тип инструмента", "Tool"},
                              {"Модель", "Model"},
                              {"Серийный", "Serial #"},
                              {"Стоимость", "Price"}};
    for (int i = 0; i < 5; ++i)
        rows.append({"TfmCard_U", "DBGrid2", P::ColumnTitle, i, tools[i][0], tools[i][1]});
    return rows;
}
