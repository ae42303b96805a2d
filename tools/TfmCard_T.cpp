#include "TfmCard_T.h"

#include "core/DeskSelection.h"
#include "core/FileChoices.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "data/ToolIdentities.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "widgets/DbGrid.h"
#include "widgets/DbImage.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ImageFolder.h"
#include "widgets/Named.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTimeFormat = QStringLiteral("hh:mm:ss");

// The values in the order they stand on the card, each with the number of
// the label that captions it.
const QList<RecordCard::Shown> kShown = {
    {col::Tools::ID_Tool, 1},   {col::Tools::Naim, 9},       {col::Tools::Tool_Type, 2}, {col::Tools::Mesto, 10},
    {col::Tools::Model, 3},     {col::Tools::SNumber, 4},    {col::Tools::Inv, 11},      {col::Tools::Date_Purchase, 5},
    {col::Tools::Guarantee, 6}, {col::Tools::Tool_State, 7}, {col::Tools::Price, 8},
};

} // namespace

TfmCard_T::TfmCard_T(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : RecordCard(platform, session.connection(), "TfmCard_T", QSize(820, 680), parent)
    , m_session(session)
    , m_navigator(navigator)
{
    buildPhoto(session.qTools, QSize(184, 195));
    auto* right = new QVBoxLayout;
    right->addLayout(buildValues(session.qTools, kShown));
    btHend = button(this, "btHend");
    btReturn = button(this, "btReturn");
    btLabel = button(this, "btLabel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btLabel);
    buttons->addWidget(btHend);
    buttons->addWidget(btReturn);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* top = new QHBoxLayout;
    top->addWidget(m_photo, 0, Qt::AlignTop);
    top->addLayout(right, 1);

    buildPages();
    buildJournalPage();
    buildPicturePage();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pages, 1);
    connectHandlers();
}

void TfmCard_T::buildJournalPage()
{
    m_journalGrid = named(new DbGrid(m_firstPage), "DBGrid1");
    m_model = new QueryModel(q, m_journalGrid);
    m_model->setColumns({{col::History::ADate, {}, {}},
                         {col::History::ATime, {}, kTimeFormat},
                         {col::History::Operation, {}, {}},
                         {col::History::FIO, {}, {}},
                         {col::History::Organization, {}, {}},
                         {col::History::State, {}, {}},
                         {col::History::Note, {}, {}}});
    m_journalGrid->setQueryModel(m_model);
    const int widths[] = {80, 70, 70, 160, 140, 100, 140};
    for (int i = 0; i < 7; ++i)
        m_journalGrid->setColumnWidth(i, widths[i]);
    auto* journalLayout = new QVBoxLayout(m_firstPage);
    journalLayout->addWidget(m_journalGrid);
}

void TfmCard_T::buildPicturePage()
{
    ImgList = named(new QListWidget(m_secondPage), "ImgList");
    ImgList->setSelectionMode(QAbstractItemView::SingleSelection);
    btAddImage = button(m_secondPage, "btAddImage");
    btDellImage = button(m_secondPage, "btDellImage");
    auto* pictureButtons = new QVBoxLayout;
    pictureButtons->addWidget(btAddImage);
    pictureButtons->addWidget(btDellImage);
    pictureButtons->addStretch(1);
    auto* picturesLayout = new QHBoxLayout(m_secondPage);
    picturesLayout->addWidget(ImgList, 1);
    picturesLayout->addLayout(pictureButtons);
}

void TfmCard_T::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btReturn, &QPushButton::clicked, this, d, [this] { btReturnClick(); });
    guardedConnect(btHend, &QPushButton::clicked, this, d, [this] { btHendClick(); });
    guardedConnect(btLabel, &QPushButton::clicked, this, d, [this] { btLabelClick(); });
    guardedConnect(btAddImage, &QPushButton::clicked, this, d, [this] { btAddImageClick(); });
    guardedConnect(btDellImage, &QPushButton::clicked, this, d, [this] { btDellImageClick(); });
    guardedConnect(ImgList, &QListWidget::itemActivated, this, d, [this] { ImgListDblClick(); });
    guardedConnect(m_journalGrid, &DbGrid::titleClicked, this, d, [this](int c) { DBGrid1TitleClick(c); });
    guardedConnect(this, &QDialog::finished, this, d, [this] { FormClose(); });
    reportErrorsOf(m_journalGrid, &DbGrid::databaseError, this, d);
    // Deleting pictures is the administrator's.
    connect(&m_session, &Session::accessModeChanged, this,
            [this] { btDellImage->setEnabled(m_session.isAdministrator()); });
    btDellImage->setEnabled(m_session.isAdministrator());
}

void TfmCard_T::execute()
{
    showLoaded([this] {
        loadCurrentTool();
        FormShow();
    });
}

void TfmCard_T::loadCurrentTool()
{
    Query& tools = m_session.qTools;
    // The card lists the journal and the pictures by the identity: a tool
    // row written by another program gets its own first (it may have got it
    // since the list was read).
    if (tools.text(col::Tools::ID_Tool_Unique).isEmpty() && tools.recNo() >= 0) {
        ToolIdentities::assignTo(m_session.connection(), tools.integer(col::Key));
        tools.refreshCurrent();
    }
    ID = tools.text(col::Tools::ID_Tool_Unique);
    ID_ForHend = tools.text(col::Tools::ID_Tool);
    reloadJournal();
    showToolState(tools.boolean(col::Tools::Passed));
}

void TfmCard_T::FormShow()
{
    // The identity goes through safeFolderName: a code never leaves Data/Images/.
    m_folder = toolImagesFolderIn(m_session.paths().data, ID);
    QDir().mkpath(m_folder);
    LoadImgList();
    m_model->setDisplayFormat(m_model->columnOfField(col::History::ATime), kTimeFormat);
}

void TfmCard_T::FormClose()
{
    m_navigator.showToolList();
}

void TfmCard_T::reloadJournal()
{
    if (ID.isEmpty()) // a tool without code or identity: no journal row names it
        q.setStatement(Select(col::History::Table).where(col::Key + QStringLiteral("=0")));
    else
        q.setStatement(Select(col::History::Table)
                           .where(m_session.connection().dialect().caselessEquals(col::History::ID_T, ID), {ID})
                           .orderBy(col::Key, true));
    m_journalSort.clear();
    q.open();
    m_model->setDisplayFormat(m_model->columnOfField(col::History::ATime), kTimeFormat);
}

void TfmCard_T::showToolState(bool inStore)
{
    btReturn->setEnabled(!inStore);
    btHend->setEnabled(inStore && m_session.isAdministrator());
}

bool TfmCard_T::storedInStore()
{
    Connection& db = m_session.connection();
    const QString where = db.dialect().caselessEquals(col::Tools::ID_Tool_Unique, ID);
    const QVariant passed = db.scalar(Select(col::Tools::Table).columns({col::Tools::Passed}).where(where, {ID}));
    return Query::parseBool(passed).value_or(true);
}

void TfmCard_T::btReturnClick()
{
    bool returned = false;
    try {
        returnTool(returned);
    } catch (const DbError&) {
        m_platform.dialogs.error(this, m_session.texts().rsRequestError);
        return;
    }
    if (returned)
        m_platform.dialogs.message(this, m_session.texts().rsReturnedByOperator);
}

void TfmCard_T::returnTool(bool& returned)
{
    returned = m_session.desk().returnByOperator(ID, m_platform.clock.now());
    reloadJournal();
    showToolState(true);
    if (returned)
        m_navigator.notifyToolsChanged(); // the list shows the tool back in the store
}

void TfmCard_T::btLabelClick()
{
    m_navigator.openLabels(LabelKind::Tools, ID_ForHend.trimmed(), {});
}

void TfmCard_T::btHendClick()
{
    m_navigator.openManualIssue(ID_ForHend);
    // Manual issue records through the desk: show what it did.
    reloadJournal();
    showToolState(storedInStore());
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
    FileChoices files(m_session);
    const QString file = m_platform.dialogs.openPicture(this, files.pictureFilter(),
                                                        files.folder(FileChoices::Kind::Picture));
    if (file.isEmpty())
        return;
    files.remember(FileChoices::Kind::Picture, file);
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
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsDeleteImageConfirm))
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
        if (!m_platform.shell.open(m_folder + name))
            m_platform.dialogs.message(this, m_session.texts().rsCannotOpenFile.arg(m_folder + name));
}

void TfmCard_T::DBGrid1TitleClick(int column)
{
    m_journalSort.toggle(q, *m_model, column);
}

void TfmCard_T::languageChanged()
{
    m_journalGrid->setAccessibleName(windowTitle());
    ImgList->setAccessibleName(m_secondPage->windowTitle());
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
        {"TfmCard_T", "btLabel", P::Caption, 0, "Этикетка", "Label"},
        {"TfmCard_T", "btLabel", P::ToolTip, 0, "Этикетка этого инструмента", "This tool's label"},
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
