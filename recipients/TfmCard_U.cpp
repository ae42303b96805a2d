#include "TfmCard_U.h"

#include "HeldTools.h"
#include "LastIssue.h"
#include "core/DeskSelection.h"
#include "core/FailureText.h"
#include "core/MoneyText.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "data/QueryModel.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "reports/ReportFileName.h"
#include "reports/RtfReportFile.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/DbText.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kTime = QStringLiteral("ATime");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");
const char* const kDetails[] = {"ID_User", "FIO", "Phone", "Organization", "Otdel", "Shef_FIO", "Shef_Phone"};

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = named(new QPushButton(parent), name);
    b->setAutoDefault(false);
    return b;
}

DbGrid* grid(QWidget* page, const char* name, QueryModel*& model, Query& query, const QList<GridColumn>& columns,
             const QList<int>& widths)
{
    auto* g = named(new DbGrid(page), name);
    model = new QueryModel(query, g);
    model->setColumns(columns);
    g->setQueryModel(model);
    for (int i = 0; i < widths.size(); ++i)
        g->setColumnWidth(i, widths[i]);
    g->setSpreadOnResize(true); // the card's width shared out, as on the pages
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(g);
    return g;
}

} // namespace

TfmCard_U::TfmCard_U(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , q(session.connection())
    , q2(session.connection())
    , m_session(session)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmCard_U"));
    setModal(true);
    resize(760, 640);

    DBImage1 = named(new DbImage(session.qUsers, QStringLiteral("Photo"), QSize(193, 203), this), "DBImage1");
    auto* right = new QVBoxLayout;
    buildDetails(right);
    auto* top = new QHBoxLayout;
    top->addWidget(DBImage1, 0, Qt::AlignTop);
    top->addLayout(right, 1);

    buildPages();
    Button1 = button(this, "Button1");
    btReturn_Tool = button(this, "btReturn_Tool");
    btReturn_Tool->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(btReturn_Tool);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    connectHandlers();
}

void TfmCard_U::buildDetails(QLayout* into)
{
    auto* fields = new QGridLayout;
    int row = 0;
    for (const char* field : kDetails) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        auto* value = new DbText(m_session.qUsers, QLatin1String(field), this);
        value->setObjectName(QStringLiteral("DBText%1").arg(row + 1));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        fields->addWidget(caption, row, 0);
        fields->addWidget(value, row, 1);
        captions << caption;
        values << value;
        ++row;
    }
    Label8 = named(new QLabel(this), "Label8");
    lbSUM = named(new QLabel(QStringLiteral("000.00р"), this), "lbSUM");
    QFont sumFont(QStringLiteral("Tahoma"));
    sumFont.setPixelSize(19);
    sumFont.setBold(true);
    lbSUM->setFont(sumFont);
    Label8->setBuddy(lbSUM);
    fields->addWidget(Label8, row, 0);
    fields->addWidget(lbSUM, row, 1);
    fields->setColumnStretch(1, 1);
    static_cast<QVBoxLayout*>(into)->addLayout(fields);
    static_cast<QVBoxLayout*>(into)->addStretch(1);
}

void TfmCard_U::buildPages()
{
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    TabSheet1 = named(new QWidget, "TabSheet1");
    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());
    DBGrid1 = grid(TabSheet1, "DBGrid1", m_journalModel, q,
                   {{QStringLiteral("ADate"), {}, {}},
                    {kTime, {}, kTimeFormat},
                    {QStringLiteral("Operation"), {}, {}},
                    {QStringLiteral("IType"), {}, {}},
                    {QStringLiteral("Model"), {}, {}},
                    {QStringLiteral("State"), {}, {}},
                    {QStringLiteral("Note"), {}, {}}},
                   {70, 50, 50, 100, 150, 70, 145});
    DBGrid2 = grid(TabSheet2, "DBGrid2", m_toolsModel, q2,
                   {{QStringLiteral("ID_Tool"), {}, {}},
                    {QStringLiteral("Tool_Type"), {}, {}},
                    {QStringLiteral("Model"), {}, {}},
                    {QStringLiteral("SNumber"), {}, {}},
                    {QStringLiteral("Price"), {}, {}}},
                   {110, 120, 100, 100, 150});
}

void TfmCard_U::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btReturn_Tool, &QPushButton::clicked, this, d, [this] { btReturn_ToolClick(); });
    guardedConnect(Button1, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(PageControl1, &QTabWidget::currentChanged, this, d, [this](int i) { PageControl1Change(i); });
    guardedConnect(DBGrid1, &DbGrid::titleClicked, this, d, [this](int c) { DBGrid1TitleClick(c); });
    guardedConnect(DBGrid2, &DbGrid::titleClicked, this, d, [this](int c) { DBGrid2TitleClick(c); });
    reportErrorsOf(DBGrid1, &DbGrid::databaseError, this, d);
    reportErrorsOf(DBGrid2, &DbGrid::databaseError, this, d);
}

void TfmCard_U::execute()
{
    if (!runGuarded(m_platform.dialogs, this, [this] {
            loadCurrentRecipient();
            FormShow();
        }))
        return;
    m_platform.dialogs.showModal(*this);
}

void TfmCard_U::loadCurrentRecipient()
{
    const Query& users = m_session.qUsers;
    m_userCode = users.text(QStringLiteral("ID_User"));
    m_userKey = QString::number(users.integer(QStringLiteral("ID")));
    reloadLists();
    showTotal();
}

void TfmCard_U::FormShow()
{
    m_journalModel->setDisplayFormat(m_journalModel->columnOfField(kTime), kTimeFormat);
}

void TfmCard_U::reloadLists()
{
    const SqlDialect& d = m_session.connection().dialect();
    q.setStatement(Select(col::History::Table)
                       .where(d.caselessEquals(col::History::ID_U, m_userCode), {m_userCode})
                       .orderBy(col::Key, true));
    m_journalMarks.clear();
    q.open();
    q2.setStatement(heldToolsStatement(m_session.connection(), m_userKey));
    m_toolMarks.clear();
    q2.open();
    m_journalModel->setDisplayFormat(m_journalModel->columnOfField(kTime), kTimeFormat);
}

void TfmCard_U::showTotal()
{
    double total = 0;
    const int price = q2.fieldIndex(QStringLiteral("Price"));
    for (int row = 0; q2.isOpen() && price >= 0 && q2.setRecNo(row); ++row)
        total += q2.value(row, price).toDouble(); // an empty price adds nothing
    if (q2.isOpen() && !q2.isEmpty())
        q2.first();
    lbSUM->setText(moneyText(total, m_session.russian()));
}

void TfmCard_U::PageControl1Change(int index)
{
    const bool tools = index == PageControl1->indexOf(TabSheet2);
    btReturn_Tool->setEnabled(tools);
    if (tools)
        DBGrid2->setFocus();
}

void TfmCard_U::toggleMarkedSort(Query& query, QueryModel& model, QSet<QString>& marked, int column)
{
    const QString field = model.columns().value(column).field;
    if (field.isEmpty() || !query.isOpen())
        return;
    // A marked field was sorted ascending last: it turns descending and loses its mark.
    const bool ascending = !marked.contains(field);
    if (!query.setSort(field, !ascending))
        return;
    if (ascending)
        marked.insert(field);
    else
        marked.remove(field);
}

void TfmCard_U::DBGrid1TitleClick(int column)
{
    toggleMarkedSort(q, *m_journalModel, m_journalMarks, column);
}

void TfmCard_U::DBGrid2TitleClick(int column)
{
    toggleMarkedSort(q2, *m_toolsModel, m_toolMarks, column);
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
    const qint64 toolKey = q2.integer(QStringLiteral("ID"));
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
    const QString user = values.first()->text(); // the code shown on the card
    for (q2.first(); !q2.eof(); q2.next()) {
        const QDate issued = q2.date(QStringLiteral("Issued_date"));
        // A date from 2000 on is kept, also after a later return and issue.
        if (issued.isValid() && issued.year() >= 2000)
            continue;
        const QDateTime last = GetLastIssuedDate(q2.text(QStringLiteral("ID_Tool_Unique")), user);
        q2.edit();
        q2.setValue(QStringLiteral("Issued_date"), last.date());
        q2.post();
    }
}

void TfmCard_U::Button1Click()
{
    Calc_Issued_Date();
    OnHandStatement::Holder holder;
    holder.fio = values.at(1)->text();
    holder.code = values.at(0)->text();
    holder.organization = values.at(3)->text();
    holder.toolCount = q2.recordCount();
    holder.total = lbSUM->text();
    TfrxReport& report = statement.prepare(m_session.russian(), holder, q2, q);
    const QString file = ReportFileName::onHand(m_session.paths().folder, holder.fio, m_platform.clock.now());
    const Messages& texts = m_session.texts();
    try {
        (void)writeAndOpenRtf(report, file, texts.rsReplaceFile, m_platform, this);
    } catch (const FileWriteError& e) {
        m_platform.dialogs.error(this, fileWriteFailureText(e, texts.rsReportNotWritten, file, texts));
    }
}

void TfmCard_U::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    PageControl1->setTabText(0, TabSheet1->windowTitle());
    PageControl1->setTabText(1, TabSheet2->windowTitle());
    for (int i = 0; i < captions.size(); ++i)
        values[i]->setAccessibleName(captions[i]->text());
    lbSUM->setAccessibleName(Label8->text());
    DBGrid1->setAccessibleName(TabSheet1->windowTitle());
    DBGrid2->setAccessibleName(TabSheet2->windowTitle());
    runGuarded(m_platform.dialogs, this, [this] {
        if (q2.isOpen())
            showTotal();
    });
}

QList<Localization::Text> recipientCardTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmCard_U", "", P::Title, 0, "Карточка получателя", "User card"},
        {"TfmCard_U", "Label1", P::Caption, 0, "ID получателя", "ID user"},
        {"TfmCard_U", "Label2", P::Caption, 0, "ФИО", "Name"},
        {"TfmCard_U", "Label3", P::Caption, 0, "Телефон", "Phone"},
        {"TfmCard_U", "Label4", P::Caption, 0, "Организация", "Company"},
        {"TfmCard_U", "Label5", P::Caption, 0, "Отдел", "Department"},
        {"TfmCard_U", "Label6", P::Caption, 0, "ФИО руководителя", "Supervisor"},
        {"TfmCard_U", "Label7", P::Caption, 0, "Тел. руководителя", "Supervisor phone"},
        {"TfmCard_U", "Label8", P::Caption, 0, "Инструмента на сумму", "Price"},
        {"TfmCard_U", "TabSheet1", P::Title, 0, "История выдачи", "History"},
        {"TfmCard_U", "TabSheet2", P::Title, 0, "Инструмент на руках", "Tools on hands"},
        {"TfmCard_U", "Button1", P::Caption, 0, "Инструмент на руках", "Tools on hands"},
        {"TfmCard_U", "btReturn_Tool", P::Caption, 0, "Вернуть инструмент", "To return the tool"},
    };
    const char* journal[][2] = {
        {"Дата", "Date"},    {"Время", "Time"},          {"Статус", "Status"},  {"Тип инструмента", "Tool"},
        {"Модель", "Model"}, {"Состояние", "Condition"}, {"Примечание", "Note"}};
    for (int i = 0; i < 7; ++i)
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
