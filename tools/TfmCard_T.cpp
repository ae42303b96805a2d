#include "TfmCard_T.h"

#include "ImageFolder.h"
#include "TfmTools.h"
#include "app/Forms.h"
#include "config/Messages.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "desk/EventRecorder.h"
#include "desk/TfmHend.h"
#include "desk/TfmMain.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/DbText.h"
#include "widgets/ErrorGuard.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kJournalSql = QStringLiteral("SELECT * FROM History WHERE ID_T=? ORDER BY ID DESC");
const QString kTime = QStringLiteral("ATime");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

// The values in the order they stand on the card, each with the number of
// the label that captions it.
struct Shown {
    const char* field;
    int label;
};
constexpr Shown kShown[] = {
    {"ID_Tool", 1},  {"Naim", 9},          {"Tool_Type", 2}, {"Mesto", 10},     {"Model", 3},  {"SNumber", 4},
    {"Inv", 11},     {"Date_Purchase", 5}, {"Guarantee", 6}, {"Tool_State", 7}, {"Price", 8},
};
constexpr int kLabels = 11;

} // namespace

TfmCard_T::TfmCard_T(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , q(forms.main->connection())
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmCard_T"));
    setModal(true);
    resize(820, 680);
    Query& tools = forms.main->qTools;

    DBImage1 = new DbImage(tools, QStringLiteral("Photo"), QSize(184, 195), this);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));

    for (int i = 1; i <= kLabels; ++i) {
        captions << nullptr;
        values << nullptr;
    }
    auto* fields = new QGridLayout;
    int row = 0;
    for (const Shown& s : kShown) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("Label%1").arg(s.label));
        auto* value = new DbText(tools, QLatin1String(s.field), this);
        value->setObjectName(QStringLiteral("DBText%1").arg(s.label));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        fields->addWidget(caption, row, 0);
        fields->addWidget(value, row, 1);
        ++row;
        captions[s.label - 1] = caption;
        values[s.label - 1] = value;
    }
    fields->setColumnStretch(1, 1);

    btHend = new QPushButton(this);
    btHend->setObjectName(QStringLiteral("btHend"));
    btHend->setAutoDefault(false);
    btReturn = new QPushButton(this);
    btReturn->setObjectName(QStringLiteral("btReturn"));
    btReturn->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btHend);
    buttons->addWidget(btReturn);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* top = new QHBoxLayout;
    top->addWidget(DBImage1, 0, Qt::AlignTop);
    top->addLayout(right, 1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());

    DBGrid1 = new DbGrid(TabSheet1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new QueryModel(q, DBGrid1);
    m_model->setColumns({{QStringLiteral("ADate"), {}, {}},
                         {kTime, {}, kTimeFormat},
                         {QStringLiteral("Operation"), {}, {}},
                         {QStringLiteral("FIO"), {}, {}},
                         {QStringLiteral("Organization"), {}, {}},
                         {QStringLiteral("State"), {}, {}},
                         {QStringLiteral("Note"), {}, {}}});
    DBGrid1->setQueryModel(m_model);
    const int widths[] = {80, 70, 70, 160, 140, 100, 140};
    for (int i = 0; i < 7; ++i)
        DBGrid1->setColumnWidth(i, widths[i]);
    auto* journalLayout = new QVBoxLayout(TabSheet1);
    journalLayout->addWidget(DBGrid1);

    ImgList = new QListWidget(TabSheet2);
    ImgList->setObjectName(QStringLiteral("ImgList"));
    ImgList->setSelectionMode(QAbstractItemView::SingleSelection);
    btAddImage = new QPushButton(TabSheet2);
    btAddImage->setObjectName(QStringLiteral("btAddImage"));
    btAddImage->setAutoDefault(false);
    btDellImage = new QPushButton(TabSheet2);
    btDellImage->setObjectName(QStringLiteral("btDellImage"));
    btDellImage->setAutoDefault(false);
    auto* pictureButtons = new QVBoxLayout;
    pictureButtons->addWidget(btAddImage);
    pictureButtons->addWidget(btDellImage);
    pictureButtons->addStretch(1);
    auto* picturesLayout = new QHBoxLayout(TabSheet2);
    picturesLayout->addWidget(ImgList, 1);
    picturesLayout->addLayout(pictureButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);

    connect(btReturn, &QPushButton::clicked, this, &TfmCard_T::btReturnClick);
    connect(btHend, &QPushButton::clicked, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { btHendClick(); }); });
    connect(btAddImage, &QPushButton::clicked, this, &TfmCard_T::btAddImageClick);
    connect(btDellImage, &QPushButton::clicked, this, &TfmCard_T::btDellImageClick);
    connect(ImgList, &QListWidget::itemActivated, this, &TfmCard_T::ImgListDblClick);
    connect(DBGrid1, &DbGrid::titleClicked, this,
            [this](int c) { runGuarded(m_platform.dialogs, this, [&] { DBGrid1TitleClick(c); }); });
    connect(this, &QDialog::finished, this,
            [this] { runGuarded(m_platform.dialogs, this, [this] { FormClose(); }); });
}

void TfmCard_T::FormCreate()
{
    // Deleting pictures is for the administrator; the sign-in sets the state.
    m_forms.main->registerAdminButton(btDellImage);
}

void TfmCard_T::execute()
{
    FormShow();
    m_platform.dialogs.showModal(*this);
}

void TfmCard_T::FormShow()
{
    // The identity goes through safeFolderName: a code never leaves Data/Images/.
    m_folder = toolImagesFolder(m_forms.main->programFolder(), ID);
    QDir().mkpath(m_folder);
    LoadImgList();
    m_model->setDisplayFormat(m_model->columnOfField(kTime), kTimeFormat);
}

void TfmCard_T::FormClose()
{
    m_forms.main->SpeedButton4Click();
}

void TfmCard_T::reloadJournal()
{
    q.setSql(kJournalSql, {ID});
    m_lastAscending.clear();
    q.open();
    m_model->setDisplayFormat(m_model->columnOfField(kTime), kTimeFormat);
}

void TfmCard_T::showToolState(bool inStore)
{
    btReturn->setEnabled(!inStore);
    btHend->setEnabled(inStore && m_forms.main->isAdministrator());
}

void TfmCard_T::btReturnClick()
{
    bool returned = false;
    try {
        returnTool(returned);
    } catch (const DbError&) {
        m_platform.dialogs.error(this, m_forms.texts->rsRequestError);
        return;
    }
    if (returned)
        m_platform.dialogs.message(this, m_forms.texts->rsReturnedByOperator);
}

void TfmCard_T::returnTool(bool& returned)
{
    TfmMain& main = *m_forms.main;
    Connection& db = main.connection();
    {
        // The journal row and the tool's change go together, decided on the
        // tool as stored now: another desk may have taken it back already.
        Connection::Transaction transaction(db);
        Query tool(db);
        tool.setSql(QStringLiteral("SELECT * FROM Tools WHERE ID_Tool_Unique=?"), {ID});
        tool.open();
        if (tool.isEmpty())
            throw DbError(QStringLiteral("The tool is no longer in the register"));
        if (!tool.boolean(QStringLiteral("Passed"))) {
            const bool russian = m_forms.russian();
            const QDateTime now = m_platform.clock.now();
            Query journal(db);
            journal.setSql(QStringLiteral("SELECT * FROM History WHERE ID=0"));
            journal.open();
            const EventRecorder::Holder operatorMarker{
                QStringLiteral("0"), russian ? QStringLiteral("ОПЕРАТОР") : QStringLiteral("OPERATOR"), QStringLiteral("")};
            EventRecorder::writeJournalRow(journal, tool, operatorMarker, EventRecorder::returnWord(russian), now);

            tool.edit();
            tool.setValue(QStringLiteral("Passed"), true);
            tool.setValue(QStringLiteral("OwnerID"), QStringLiteral("0"));
            tool.post();
            transaction.commit();
            returned = true;
        }
    }
    if (returned) {
        main.qSearch_T.setSql(QStringLiteral("SELECT * FROM Tools WHERE ID=0000"));
        main.qSearch_T.open();
        main.qSearch_U.setSql(QStringLiteral("SELECT * FROM Users WHERE ID=0000"));
        main.qSearch_U.open();
        main.qHistory.reopen(); // the desk's journal shows the new row on top
    }
    reloadJournal();
    if (returned && m_forms.tools)
        m_forms.tools->btSearchClick();
    showToolState(true);
    if (returned && m_forms.tools) {
        try {
            main.qTools.locate(QStringLiteral("ID"), m_forms.tools->RememberedToolKey);
        } catch (const DbError&) {
            // The list stays where the search left it.
        }
    }
}

void TfmCard_T::btHendClick()
{
    TfmHend* hend = m_forms.hend;
    if (!hend)
        return;
    hend->btClear->click();
    hend->execute();
}

void TfmCard_T::LoadImgList()
{
    ImgList->clear();
    if (m_folder.isEmpty())
        return;
    ImgList->addItems(QDir(m_folder).entryList(QDir::Files | QDir::Hidden, QDir::Name));
}

QString TfmCard_T::selectedPicture() const
{
    const QListWidgetItem* item = ImgList->currentItem();
    if (!item || !item->isSelected() || m_folder.isEmpty())
        return {};
    return item->text();
}

void TfmCard_T::btAddImageClick()
{
    if (m_folder.isEmpty())
        return;
    const QString file = m_platform.dialogs.openPicture(this);
    if (file.isEmpty())
        return;
    QString error;
    if (!copyPictureInto(file, m_folder, &error)) {
        m_platform.dialogs.error(this, error);
        return;
    }
    LoadImgList();
}

void TfmCard_T::btDellImageClick()
{
    const QString name = selectedPicture();
    if (name.isEmpty())
        return;
    if (!m_platform.dialogs.confirm(this, m_forms.texts->rsDeleteImageConfirm))
        return;
    QFile file(m_folder + name);
    if (!file.remove())
        m_platform.dialogs.error(this, file.errorString());
    LoadImgList();
}

void TfmCard_T::ImgListDblClick()
{
    const QString name = selectedPicture();
    if (!name.isEmpty())
        m_platform.shell.open(m_folder + name);
}

void TfmCard_T::DBGrid1TitleClick(int column)
{
    const QString field = m_model->columns().value(column).field;
    if (field.isEmpty() || !q.isOpen())
        return;
    // Each column keeps its own direction until the journal is reloaded.
    const bool ascending = !m_lastAscending.value(field, false);
    if (q.setSort(field + (ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"))))
        m_lastAscending[field] = ascending;
}

void TfmCard_T::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // The text sets give each page its title; the tabs show it.
    PageControl1->setTabText(0, TabSheet1->windowTitle());
    PageControl1->setTabText(1, TabSheet2->windowTitle());
    for (int i = 0; i < captions.size(); ++i)
        values[i]->setAccessibleName(captions[i]->text());
    DBGrid1->setAccessibleName(windowTitle());
    ImgList->setAccessibleName(TabSheet2->windowTitle());
}

QList<Localization::Text> toolCardTexts()
{
    using P = Localization::Property;
    return {
        {"TfmCard_T", "", P::Title, 0, "Карточка инструмента", "Tool card"},
        {"TfmCard_T", "Label1", P::Caption, 0, "ID инструмента", "ID tool"},
        {"TfmCard_T", "Label2", P::Caption, 0, "Тип инструмента", "Tool"},
        {"TfmCard_T", "Label3", P::Caption, 0, "Модель", "Model"},
        {"TfmCard_T", "Label4", P::Caption, 0, "Серийны №", "Serial №"},
        {"TfmCard_T", "Label5", P::Caption, 0, "Дата покупки", "Purchase date"},
        {"TfmCard_T", "Label6", P::Caption, 0, "Гарантия до", "Warranty"},
        {"TfmCard_T", "Label7", P::Caption, 0, "Состояние", "Condition"},
        {"TfmCard_T", "Label8", P::Caption, 0, "Стоимость", "Price"},
        {"TfmCard_T", "Label9", P::Caption, 0, "Наименование", "Name"},
        {"TfmCard_T", "Label10", P::Caption, 0, "Место", "A place"},
        {"TfmCard_T", "Label11", P::Caption, 0, "Инвентарный", "Inventory"},
        {"TfmCard_T", "TabSheet1", P::Title, 0, "История выдачи", "History"},
        {"TfmCard_T", "TabSheet2", P::Title, 0, "Фотографии", "Photo"},
        {"TfmCard_T", "btHend", P::Caption, 0, "Ручная выдача", "To issue manually"},
        {"TfmCard_T", "btReturn", P::Caption, 0, "Вернуть инструмент", "To return the tool"},
        {"TfmCard_T", "btAddImage", P::Caption, 0, "Загрузить изображение", "Upload picture"},
        {"TfmCard_T", "btDellImage", P::Caption, 0, "Удалить изображение", "Delete picture"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 0, "Дата", "Date"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 1, "Время", "Time"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 2, "Статус", "Status"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 3, "ФИО", "Name"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 4, "Организация", "Company"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 5, "Состояние", "Condition"},
        {"TfmCard_T", "DBGrid1", P::ColumnTitle, 6, "Примечание", "Note"},
    };
}
