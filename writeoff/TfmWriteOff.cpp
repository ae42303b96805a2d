#include "TfmWriteOff.h"

#include "ActDocument.h"
#include "ActToolRows.h"
#include "ActWriteOff.h"
#include "core/DeskSelection.h"
#include "core/FailureText.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/ToolSearch.h"
#include "core/WorkTypeToolList.h"
#include "data/Columns.h"
#include "data/QueryModel.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/WrittenFileOpener.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/QueryGrid.h"
#include "widgets/StandardIcon.h"
#include "widgets/ToolGridColumns.h"
#include "widgets/WorkTypeBox.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TfmWriteOff::TfmWriteOff(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : SearchPage(platform, parent)
    , qTools_notWriteOff(session.connection())
    , qAKT(session.connection())
    , qAKT_Container(session.connection())
    , m_session(session)
    , m_navigator(navigator)
{
    setObjectName(QStringLiteral("TfmWriteOff"));
    m_pageSplitter = named(new QSplitter(Qt::Vertical, this), "Splitter1");
    m_pageSplitter->addWidget(buildSearchHalf());
    m_pageSplitter->addWidget(buildActHalf());
    m_pageSplitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageSplitter);
    connectHandlers();
    followActs();
}

QWidget* TfmWriteOff::buildSearchHalf()
{
    auto* half = new QWidget(this);
    // No search on Enter here, unlike the register pages.
    buildSearchBoxes(half);
    cbWorkTypes = named(new WorkTypeBox(half), "cbWorkTypes");
    cbWorkTypes->setMinimumWidth(160);
    buildSearchButton(half);
    btADDtoAKT = named(new QPushButton(half), "btADDtoAKT");
    m_grid = queryGrid(half, "Grid_Tools", qTools_notWriteOff, toolGridColumns());
    m_grid->setMinimumHeight(240);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_codeBox, m_textBox, cbWorkTypes, m_searchButton})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(btADDtoAKT);
    auto* layout = new QVBoxLayout(half);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);
    return half;
}

QWidget* TfmWriteOff::buildActHalf()
{
    auto* half = new QWidget(this);
    btNewAKT = named(new QPushButton(half), "btNewAKT");
    btWriteOff = named(new QPushButton(half), "btWriteOff");
    btWordExport = named(new QToolButton(half), "btWordExport");
    btWordExport->setAutoRaise(true);
    setStandardIcon(btWordExport, QStyle::SP_FileDialogContentsView);
    btDocument = named(new QPushButton(half), "btDocument");
    Grid_AKT = queryGrid(half, "Grid_AKT", qAKT, plainColumns({col::Key, col::AKTSpisaniya::ADate}));
    Grid_AKT_Conteiner = queryGrid(
        half, "Grid_AKT_Conteiner", qAKT_Container,
        plainColumns({col::Tools::Inv, col::Tools::Tool_Type, col::Tools::Model, col::Tools::Proizvoditel}));
    m_actSplitter = named(new QSplitter(Qt::Horizontal, half), "Splitter2");
    m_actSplitter->addWidget(Grid_AKT);
    m_actSplitter->addWidget(Grid_AKT_Conteiner);
    m_actSplitter->setStretchFactor(1, 1);
    m_actSplitter->setSizes({320, 600});

    auto* bar = new QHBoxLayout;
    bar->addWidget(btNewAKT);
    bar->addWidget(btWriteOff);
    bar->addWidget(btWordExport);
    bar->addWidget(btDocument);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(half);
    layout->addLayout(bar);
    layout->addWidget(m_actSplitter, 1);
    return half;
}

void TfmWriteOff::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(cbWorkTypes, &QComboBox::activated, this, d, [this] { cbWorkTypesChange(); });
    guardedConnect(btADDtoAKT, &QPushButton::clicked, this, d, [this] { btADDtoAKTClick(); });
    guardedConnect(btNewAKT, &QPushButton::clicked, this, d, [this] { btNewAKTClick(); });
    guardedConnect(btWriteOff, &QPushButton::clicked, this, d, [this] { btWriteOffClick(); });
    guardedConnect(btWordExport, &QToolButton::clicked, this, d, [this] { btWordExportClick(); });
    guardedConnect(btDocument, &QPushButton::clicked, this, d, [this] { btDocumentClick(); });
    // The act's tools always belong to the current act, however it became
    // current, so what is shown is what is written off.
    guardedConnect(&qAKT, &Query::currentChanged, this, d, [this] { ShowAKTConteiner(0); });
    for (DbGrid* g : {m_grid, Grid_AKT, Grid_AKT_Conteiner})
        reportErrorsOf(g, &DbGrid::databaseError, this, d);
    connect(&m_session.settings(), &Settings::toolColumnsChanged, this, &TfmWriteOff::SetColumnView);
    guardedConnect(&m_navigator, &Navigator::workTypesChanged, this, d,
                   [this] { cbWorkTypes->load(m_session.qWorkTypes, true); });
}

void TfmWriteOff::FormCreate()
{
    const SqlDialect& d = m_session.connection().dialect();
    qTools_notWriteOff.setStatement(
        Select(col::Tools::Table).where(col::Tools::WriteOff + QStringLiteral("<>") + d.sqlTrue()).orderBy(col::Key));
    qTools_notWriteOff.open();
    qAKT.setStatement(Select(col::AKTSpisaniya::Table).orderBy(col::Key));
    qAKT.open();
    ShowAKTConteiner(0);
    followActs();
}

void TfmWriteOff::pageShown()
{
    LoadWorkTypes();
    SetColumnView();
    m_grid->spreadColumns();
    refresh();
}

void TfmWriteOff::LoadWorkTypes()
{
    cbWorkTypes->load(m_session.qWorkTypes, false);
}

void TfmWriteOff::cbWorkTypesChange()
{
    // As on the tool list: the work types window follows; the search reads this page's own choice.
    if (const std::optional<qint64> workType = cbWorkTypes->chosenKey())
        m_session.qWorkTypes.locate(col::Key, *workType);
}

void TfmWriteOff::SetColumnView()
{
    const Settings& settings = m_session.settings();
    for (int n = Settings::ToolColumnCount; n >= 1; --n)
        m_grid->setColumnHidden(n, !settings.toolColumnVisible(n));
    m_grid->spreadColumns();
}

void TfmWriteOff::Search()
{
    const std::optional<qint64> workType = cbWorkTypes->chosenKey();
    QStringList identities;
    if (workType)
        identities = WorkTypeToolList::read(m_session.connection(), *workType).identities();
    // The store's order: no issued-first order here.
    qTools_notWriteOff.setStatement(toolSearchStatement(m_codeBox->text(), m_textBox->text(), workType.has_value(),
                                                        identities, m_session.connection().dialect(),
                                                        OrderTerm{col::Key, false, {}}));
    qTools_notWriteOff.open();
}

void TfmWriteOff::refresh()
{
    Search();
}

void TfmWriteOff::btSearchClick()
{
    Search();
}

bool TfmWriteOff::hasCurrentAct() const
{
    return qAKT.isOpen() && !qAKT.isEmpty() && qAKT.recNo() >= 0 && qAKT.state() == Query::State::Browse;
}

qint64 TfmWriteOff::currentAct() const
{
    return hasCurrentAct() ? qAKT.integer(col::Key) : 0;
}

void TfmWriteOff::followActs()
{
    // Without an act these have nothing to work on.
    const bool act = hasCurrentAct();
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{btADDtoAKT, btWriteOff, btWordExport, btDocument})
        b->setEnabled(act);
}

void TfmWriteOff::ShowAKTConteiner(qint64 AKT_ID)
{
    const qint64 act = AKT_ID != 0 ? AKT_ID : currentAct();
    qAKT_Container.setStatement(ActWriteOff::tools(act));
    qAKT_Container.open();
    Grid_AKT_Conteiner->spreadColumns();
}

void TfmWriteOff::btADDtoAKTClick()
{
    Query& tool = qTools_notWriteOff;
    if (!tool.isOpen() || tool.isEmpty() || tool.recNo() < 0 || !hasCurrentAct())
        return;
    // Decided on the tool as stored now: it may have been issued or written off since the search.
    tool.refreshCurrent();
    const Messages& t = m_session.texts();
    if (tool.boolean(col::Tools::WriteOff)) {
        m_platform.dialogs.message(this, t.rsToolWrittenOffNoAkt);
        return;
    }
    if (!tool.boolean(col::Tools::Passed)) {
        m_platform.dialogs.message(this, t.rsToolOnHandNoAkt);
        return;
    }
    const qint64 act = currentAct();
    try {
        tool.edit();
        tool.setValue(col::Tools::WriteOff_AKT_ID, act);
        tool.post();
    } catch (const DbError&) {
        tool.cancel();
        throw;
    }
    ShowAKTConteiner(act);
}

void TfmWriteOff::btNewAKTClick()
{
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsNewAktConfirm))
        return;
    qint64 act = 0;
    try {
        qAKT.append();
        qAKT.setValue(col::AKTSpisaniya::AName, QStringLiteral("АКТ"));
        qAKT.post();
        act = qAKT.integer(col::Key);
    } catch (const DbError&) {
        qAKT.cancel();
        throw;
    }
    // The list is in number order, the newest act at the bottom: read again
    // (with acts other desks made meanwhile) rather than left where append put it.
    qAKT.reopen();
    qAKT.locate(col::Key, act);
    followActs();
    ShowAKTConteiner(0);
}

void TfmWriteOff::btWriteOffClick()
{
    if (!hasCurrentAct())
        return;
    const qint64 act = currentAct();
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsWriteOffAllConfirm + QString::number(act) + u'?'))
        return;
    QStringList onHand;
    try {
        onHand = ActWriteOff(m_session.connection()).writeOff(act, m_platform.clock.now());
    } catch (const DbError& e) {
        m_platform.dialogs.error(this, writeOffFailureText(e, act, m_session.texts()));
        return;
    }
    if (!onHand.isEmpty()) {
        m_platform.dialogs.message(this, m_session.texts().rsAktToolsOnHand + onHand.join(QStringLiteral(", ")));
        return;
    }
    qAKT.refreshCurrent(); // its date
    ShowAKTConteiner(act);
    clearDeskOfAct(act);
    m_navigator.notifyToolsChanged();
    CreateWriteOffAKT();
}

void TfmWriteOff::clearDeskOfAct(qint64 act)
{
    // A written-off tool must not stay on the desk, ready to be issued.
    DeskSelection& desk = m_session.desk();
    if (desk.toolSelected() && desk.qSearch_T.integer(col::Tools::WriteOff_AKT_ID) == act)
        desk.clearTool();
}

bool TfmWriteOff::CreateWriteOffAKT()
{
    const bool russian = m_session.russian();
    const ActDocument document(m_session.paths().folder, russian ? 0 : 1, m_session.paths().data);
    const int act = int(currentAct());
    const ActDocumentResult result = document.create(act, actToolsOf(qAKT_Container),
                                                     qAKT.dateTime(col::AKTSpisaniya::ADate).date());
    if (!result.ok()) {
        m_platform.dialogs.error(this, documentFailureText(result, act, document.documentPath(act)));
        return false;
    }
    openDocument(result.file);
    return true;
}

QString TfmWriteOff::documentFailureText(const ActDocumentResult& result, int act, const QString& document) const
{
    const Messages& texts = m_session.texts();
    // The act stays written off whatever went wrong with its document.
    const QString reason = result.error == ActDocumentError::CannotWrite
        ? fileWriteCauseText(FileWriteError(result.writeCause, result.file, result.detail), texts)
        : actDocumentErrorText(result.error, m_session.russian(), result.row) + QStringLiteral(": ")
            + QDir::toNativeSeparators(result.file);
    QString text = texts.rsActWrittenOffNoDocument.arg(QString::number(act), QDir::toNativeSeparators(document)) + u'\n'
        + reason + u'\n' + texts.rsActDocumentAgain;
    if (!result.detail.isEmpty())
        text += QStringLiteral("\n\n") + result.detail;
    return text;
}

void TfmWriteOff::openDocument(const QString& file)
{
    const Messages& t = m_session.texts();
    WrittenFileOpener(m_platform, {t.rsWrittenNotOpened, t.rsOpenFolder, t.rsFolderNotOpened}).open(this, file);
}

void TfmWriteOff::btWordExportClick()
{
    if (!hasCurrentAct())
        return;
    const QString path = ActDocument(m_session.paths().folder, 0).documentPath(int(currentAct()));
    if (QFileInfo(path).isFile())
        openDocument(path);
    else
        m_platform.dialogs.message(this, m_session.texts().rsAktNotFound);
}

void TfmWriteOff::btDocumentClick()
{
    if (!hasCurrentAct())
        return;
    // Only a written-off act has a document; this makes it again, e.g. after the template was mended.
    if (qAKT.value(col::AKTSpisaniya::ADate).isNull()) {
        m_platform.dialogs.message(this, m_session.texts().rsAktNotFound);
        return;
    }
    ShowAKTConteiner(0);
    CreateWriteOffAKT();
}

void TfmWriteOff::languageChanged()
{
    cbWorkTypes->setAccessibleName(cbWorkTypes->toolTip());
    // Two buttons about the document: each says what it does.
    const Messages& t = m_session.texts();
    btWordExport->setAccessibleName(t.rsOpenActDocument);
    btWordExport->setToolTip(t.rsOpenActDocument);
    btDocument->setAccessibleName(t.rsRemakeActDocument);
    btDocument->setToolTip(t.rsRemakeActDocument);
    Grid_AKT->setAccessibleName(Grid_AKT->columnTitles());
    Grid_AKT_Conteiner->setAccessibleName(Grid_AKT_Conteiner->columnTitles());
}

QList<Localization::Text> writeOffTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmWriteOff", "", P::Title, 0, "Списание", "Write off"},
        {"TfmWriteOff", "cbWorkTypes", P::ToolTip, 0, "Вид работ", "Type of work"},
        {"TfmWriteOff", "btADDtoAKT", P::Caption, 0, "Добавить в АКТ", "Add to ACT"},
        {"TfmWriteOff", "btNewAKT", P::Caption, 0, "Новый АКТ", "New ACT"},
        {"TfmWriteOff", "btWriteOff", P::Caption, 0, "Списать", "Write off"},
        {"TfmWriteOff", "btDocument", P::Caption, 0, "Документ", "Document"},
        {"TfmWriteOff", "Grid_AKT", P::ColumnTitle, 0, "№ АКТ-а", "№ ACT"},
        {"TfmWriteOff", "Grid_AKT", P::ColumnTitle, 1, "Дата списания", "Write-off date"},
        {"TfmWriteOff", "Grid_AKT_Conteiner", P::ColumnTitle, 0, "Инвентарный", "Inventory"},
        {"TfmWriteOff", "Grid_AKT_Conteiner", P::ColumnTitle, 1, "Тип", "Type"},
        {"TfmWriteOff", "Grid_AKT_Conteiner", P::ColumnTitle, 2, "Модель", "Model"},
        {"TfmWriteOff", "Grid_AKT_Conteiner", P::ColumnTitle, 3, "Производитель", "Brand"},
    };
    rows += TfmWriteOff::searchTexts("TfmWriteOff", "ID инструмента", "ID Tool", "Тип инструмента", "Tool type");
    rows += toolGridTitles("TfmWriteOff", "Grid_Tools");
    return rows;
}
