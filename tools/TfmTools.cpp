#include "TfmTools.h"

#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/ToolSearch.h"
#include "core/WorkTypeToolList.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/QueryModel.h"
#include "export/RegisterExportAction.h"
#include "export/RegisterTables.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "reports/RtfReportAction.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/QueryGrid.h"
#include "widgets/ToolGridColumns.h"
#include "widgets/WorkTypeBox.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QList<int> kWidths = {120, 120, 120, 120, 100, 100, 100, 100, 100, 100, 100, 100};

const QColor kInStore(179, 244, 144);
const QColor kInStoreSelected(147, 249, 92);
const QColor kIssued(255, 161, 127);
const QColor kIssuedSelected(249, 132, 89);

} // namespace

TfmTools::TfmTools(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : RegisterPage(platform, "Tools", parent)
    , m_session(session)
    , m_inventory(session.connection())
    , m_tools(session.qTools)
    , m_navigator(navigator)
{
    setObjectName(QStringLiteral("TfmTools"));
    buildSearchBoxes(this);
    // The tool list searches as Enter goes down; the recipient list waits for it to come up.
    searchOnEnter(QEvent::KeyPress, [this] { Search(); });
    cbWorkTypes = named(new WorkTypeBox(this), "cbWorkTypes");
    cbWorkTypes->setMinimumWidth(160);
    buildRegisterControls();
    btInvent = named(new QPushButton(this), "btInvent");
    btWorkTypes = named(new QPushButton(this), "btWorkTypes");
    btLabels = named(new QPushButton(this), "btLabels");
    btExport = named(new QPushButton(this), "btExport");
    btImport = named(new QPushButton(this), "btImport");
    buildGrid();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btInvent);
    bottom->addWidget(btWorkTypes);
    bottom->addWidget(btLabels);
    bottom->addWidget(btExport);
    bottom->addWidget(btImport);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(registerBar(cbWorkTypes));
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    connectHandlers();
    followAccessMode();
}

void TfmTools::buildGrid()
{
    m_grid = queryGrid(this, "DBGrid1", m_tools, toolGridColumns(), kWidths);
    m_grid->queryModel()->setRowColours([this](int row, bool selected) {
        const int passed = m_tools.fieldIndex(col::Tools::Passed);
        if (passed < 0)
            return QColor();
        // A row being added has no stored state yet: the grid's own colours.
        const std::optional<bool> inStore = Query::parseBool(m_tools.value(row, passed));
        if (!inStore)
            return QColor();
        return *inStore ? (selected ? kInStoreSelected : kInStore) : (selected ? kIssuedSelected : kIssued);
    });
}

void TfmTools::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    connectRegister();
    guardedConnect(btInvent, &QPushButton::clicked, this, d, [this] { btInventClick(); });
    guardedConnect(cbWorkTypes, &QComboBox::activated, this, d, [this] { cbWorkTypesChange(); });
    guardedConnect(btWorkTypes, &QPushButton::clicked, this, d, [this] { btWorkTypesClick(); });
    guardedConnect(btLabels, &QPushButton::clicked, this, d, [this] { btLabelsClick(); });
    guardedConnect(btExport, &QPushButton::clicked, this, d, [this] { btExportClick(); });
    guardedConnect(btImport, &QPushButton::clicked, this, d, [this] { btImportClick(); });
    // Names changed elsewhere show at once; the choice stays while its work type exists.
    guardedConnect(&m_navigator, &Navigator::workTypesChanged, this, d,
                   [this] { cbWorkTypes->load(m_session.qWorkTypes, true); });

    connect(&m_session, &Session::accessModeChanged, this, &TfmTools::followAccessMode);
    connect(&m_session.settings(), &Settings::showRecordCountChanged, m_countLabel, &QLabel::setVisible);
    // A tool returned, issued or written off elsewhere: the list shows it as
    // it is now. Only the search button forgets the saved sort.
    guardedConnect(&m_navigator, &Navigator::toolsChanged, this, d, [this] {
        countMayHaveChanged();
        refresh();
    });
    // Tools issued or returned at another desk: a list in view shows them as
    // they are now, where it was; a hidden one is searched anew when shown.
    guardedConnect(&m_navigator, &Navigator::otherDesksChanged, this, d, [this] {
        countMayHaveChanged();
        if (isVisible() && m_tools.isOpen() && m_tools.state() == Query::State::Browse)
            m_grid->reopenInPlace(col::Key);
    });
}

void TfmTools::followAccessMode()
{
    allowChanges(m_session.isAdministrator());
    btImport->setEnabled(m_session.isAdministrator());
}

void TfmTools::btImportClick()
{
    if (m_session.isAdministrator())
        m_navigator.openImport(ImportKind::Tools);
}

void TfmTools::btInventClick()
{
    // The language of the moment chooses the template; each click its own file.
    // A large register takes seconds: shown, and the user may stop it, which
    // leaves no file.
    const QString file = ReportFileName::inventory(m_session.paths().folder, m_platform.clock.now());
    buildAndWriteRtf(this, m_session, m_platform, file, [this](WorkProgress& progress) -> TfrxReport& {
        return m_inventory.prepare(m_session.russian(), &progress);
    });
}

void TfmTools::btLabelsClick()
{
    if (!m_tools.isOpen())
        Search();
    const QString chosen = m_tools.isEmpty() ? QString() : m_tools.text(col::Tools::ID_Tool).trimmed();
    m_rememberedToolKey = m_tools.isEmpty() ? 0 : m_tools.integer(col::Key);
    // Read only when asked for: the list as searched and sorted, every page of it.
    m_navigator.openLabels(LabelKind::Tools, chosen, [this] { return listedTexts(m_tools, col::Tools::ID_Tool); });
    locateRemembered();
}

void TfmTools::btExportClick()
{
    if (!m_tools.isOpen())
        Search();
    Connection& db = m_session.connection();
    // The statement and order the grid pages by: the file lists what the grid does.
    exportRegister(
        this, m_session, m_platform,
        toolRegisterTable(db, *m_tools.statement(), m_tools.pageOrder(), m_session.settings(), m_session.russian()));
}

void TfmTools::pageShown()
{
    LoadWorkTypes();
    Search();
    showRecordCountIfChanged();
    applySavedSort();
    SetColumnView();
    m_grid->spreadColumns();
}

void TfmTools::SetColumnView()
{
    const Settings& settings = m_session.settings();
    for (int n = Settings::ToolColumnCount; n >= 1; --n)
        m_grid->setColumnHidden(n, !settings.toolColumnVisible(n));
}

void TfmTools::Search()
{
    // The chosen work type's tools as stored now, whatever another window chose since.
    const std::optional<qint64> workType = cbWorkTypes->chosenKey();
    QStringList identities;
    if (workType)
        identities = WorkTypeToolList::read(m_session.connection(), *workType).identities();
    const SqlDialect& d = m_session.connection().dialect();
    m_tools.setStatement(toolSearchStatement(m_codeBox->text(), m_textBox->text(), workType.has_value(), identities, d,
                                             d.falseFirst(col::Tools::Passed)));
    m_tools.open();
}

void TfmTools::refresh()
{
    const QString sort = m_tools.sort();
    Search();
    if (!sort.isEmpty())
        m_tools.setSort(sort);
    locateRemembered();
}

int TfmTools::countMatches()
{
    Connection& db = m_session.connection();
    return int(db.count(toolCountStatement(db.dialect(), m_codeBox->text())));
}

void TfmTools::LoadWorkTypes()
{
    cbWorkTypes->load(m_session.qWorkTypes, false);
}

void TfmTools::cbWorkTypesChange()
{
    // The work types window shows the work type chosen last; the search reads this page's own choice.
    if (const std::optional<qint64> workType = cbWorkTypes->chosenKey())
        m_session.qWorkTypes.locate(col::Key, *workType);
}

void TfmTools::btWorkTypesClick()
{
    m_navigator.openWorkTypes();
}

void TfmTools::applySavedSort()
{
    const QString saved = m_session.settings().sortTools().trimmed();
    // Anything but "<field> ASC|DESC" (an absent key reads "0") means no sort.
    if (!saved.isEmpty())
        m_tools.setSort(saved);
}

void TfmTools::btSearchClick()
{
    Search();
    m_session.settings().setSortTools(QString());
}

void TfmTools::DBGrid1TitleClick(int column)
{
    m_grid->toggleSort(column);
    m_session.settings().setSortTools(m_tools.sort());
}

void TfmTools::locateRemembered()
{
    m_tools.locate(col::Key, m_rememberedToolKey); // a tool gone from the list is no error
}

void TfmTools::Button1Click()
{
    if (!m_tools.isOpen())
        Search();
    m_tools.append();
    QFile picture(m_session.paths().toolPicture);
    if (picture.open(QIODevice::ReadOnly))
        m_tools.setValue(col::Tools::Photo, picture.readAll());
    m_tools.setValue(col::Tools::Date_Purchase, m_platform.clock.now().date());
    m_navigator.openToolEditor();
    ShowTableRecordCount();
    applySavedSort();
}

void TfmTools::Button2Click()
{
    if (!m_tools.isOpen() || m_tools.isEmpty())
        return;
    m_tools.edit();
    m_rememberedToolKey = m_tools.integer(col::Key);
    m_navigator.openToolEditor();
    ShowTableRecordCount();
    applySavedSort();
    locateRemembered();
}

void TfmTools::Button3Click()
{
    if (!m_tools.isOpen() || m_tools.isEmpty())
        return;
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsDellConfirm))
        return;
    m_tools.remove();
    ShowTableRecordCount();
}

void TfmTools::DBGrid1DblClick()
{
    if (!m_tools.isOpen() || m_tools.isEmpty())
        return;
    m_rememberedToolKey = m_tools.integer(col::Key);
    m_navigator.openToolCard();
    locateRemembered();
}

QString TfmTools::recordCountText(int count) const
{
    return ::recordCountText(m_session.russian(), count);
}

void TfmTools::languageChanged()
{
    cbWorkTypes->setAccessibleName(cbWorkTypes->toolTip());
    RegisterPage::languageChanged();
}

QList<Localization::Text> toolListTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = TfmTools::searchTexts("TfmTools", "ID инструмента", "ID tool", "Тип инструмента",
                                                           "Tool type");
    rows += {
        {"TfmTools", "", P::Title, 0, "Инструмент", "Tools"},
        {"TfmTools", "cbWorkTypes", P::ToolTip, 0, "Вид работ", "Work types"},
        {"TfmTools", "btInvent", P::Caption, 0, "Инвентаризация", "Inventory"},
        {"TfmTools", "btWorkTypes", P::Caption, 0, "Виды работ", "Work types"},
        {"TfmTools", "btLabels", P::Caption, 0, "Этикетки", "Labels"},
        {"TfmTools", "btLabels", P::ToolTip, 0, "Этикетки выбранного инструмента, всего списка или введенных кодов",
         "Labels of the chosen tool, of every tool listed or of typed codes"},
        {"TfmTools", "btExport", P::Caption, 0, "Экспорт...", "Export..."},
        {"TfmTools", "btExport", P::ToolTip, 0, "Список, как он показан, в файл Excel или CSV",
         "The list as shown, to an Excel or CSV file"},
        {"TfmTools", "btImport", P::Caption, 0, "Импорт...", "Import..."},
        {"TfmTools", "btImport", P::ToolTip, 0, "Добавить или обновить инструмент из файла CSV или XLSX",
         "Add or update tools from a CSV or XLSX file"},
    };
    rows += TfmTools::rowButtonTexts("TfmTools");
    rows += toolGridTitles("TfmTools", "DBGrid1");
    return rows;
}
