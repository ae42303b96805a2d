#include "TfmTools.h"

#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "core/ToolSearch.h"
#include "core/WorkTypeToolList.h"
#include "data/Columns.h"
#include "data/FileWriteError.h"
#include "data/QueryModel.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "reports/ReportFileName.h"
#include "reports/RtfReportFile.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ToolGridColumns.h"
#include "widgets/WorkTypeBox.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const int kWidths[] = {120, 120, 120, 120, 100, 100, 100, 100, 100, 100, 100, 100};

const QColor kInStore(179, 244, 144);
const QColor kInStoreSelected(147, 249, 92);
const QColor kIssued(255, 161, 127);
const QColor kIssuedSelected(249, 132, 89);

} // namespace

TfmTools::TfmTools(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_tools(session.qTools)
    , m_navigator(navigator)
    , m_platform(platform)
    , m_inventory(session.connection())
{
    setObjectName(QStringLiteral("TfmTools"));
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    cbWorkTypes = named(new WorkTypeBox(this), "cbWorkTypes");
    cbWorkTypes->setMinimumWidth(160);
    btSearch = named(new QPushButton(this), "btSearch");
    lbRecordCount = named(new QLabel(QStringLiteral("общее количество: 0"), this), "lbRecordCount");
    Button1 = named(new QPushButton(this), "Button1");
    Button2 = named(new QPushButton(this), "Button2");
    Button3 = named(new QPushButton(this), "Button3");
    btInvent = named(new QPushButton(this), "btInvent");
    btWorkTypes = named(new QPushButton(this), "btWorkTypes");
    buildGrid();

    auto* top = new QHBoxLayout;
    top->addWidget(Edit1);
    top->addWidget(Edit2);
    top->addWidget(cbWorkTypes);
    top->addWidget(btSearch);
    top->addWidget(lbRecordCount);
    top->addStretch(1);
    top->addWidget(Button3);
    top->addWidget(Button2);
    top->addWidget(Button1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btInvent);
    bottom->addWidget(btWorkTypes);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
    connectHandlers();
    followAccessMode();
}

void TfmTools::buildGrid()
{
    DBGrid1 = named(new DbGrid(this), "DBGrid1");
    m_model = new QueryModel(m_tools, DBGrid1);
    m_model->setColumns(toolGridColumns());
    m_model->setRowColours([this](int row, bool selected) {
        const int passed = m_tools.fieldIndex(QStringLiteral("Passed"));
        if (passed < 0)
            return QColor();
        // A row being added has no stored state yet: the grid's own colours.
        const std::optional<bool> inStore = Query::parseBool(m_tools.value(row, passed));
        if (!inStore)
            return QColor();
        return *inStore ? (selected ? kInStoreSelected : kInStore) : (selected ? kIssuedSelected : kIssued);
    });
    DBGrid1->setQueryModel(m_model);
    for (int i = 0; i < m_model->columnCount(); ++i)
        DBGrid1->setColumnWidth(i, kWidths[i]);
    DBGrid1->setSpreadOnResize(true);
}

void TfmTools::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btSearch, &QPushButton::clicked, this, d, [this] { btSearchClick(); });
    guardedConnect(Button1, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(Button2, &QPushButton::clicked, this, d, [this] { Button2Click(); });
    guardedConnect(Button3, &QPushButton::clicked, this, d, [this] { Button3Click(); });
    guardedConnect(btInvent, &QPushButton::clicked, this, d, [this] { btInventClick(); });
    guardedConnect(DBGrid1, &DbGrid::rowDoubleClicked, this, d, [this] { DBGrid1DblClick(); });
    guardedConnect(DBGrid1, &DbGrid::titleClicked, this, d, [this](int column) { DBGrid1TitleClick(column); });
    guardedConnect(cbWorkTypes, &QComboBox::activated, this, d, [this] { cbWorkTypesChange(); });
    guardedConnect(btWorkTypes, &QPushButton::clicked, this, d, [this] { btWorkTypesClick(); });
    // Names changed elsewhere show at once; the choice stays while its work type exists.
    guardedConnect(&m_navigator, &Navigator::workTypesChanged, this, d,
                   [this] { cbWorkTypes->load(m_session.qWorkTypes, true); });
    reportErrorsOf(DBGrid1, &DbGrid::databaseError, this, d);

    connect(&m_session, &Session::accessModeChanged, this, &TfmTools::followAccessMode);
    connect(&m_session.settings(), &Settings::showRecordCountChanged, lbRecordCount, &QLabel::setVisible);
    // A tool returned, issued or written off elsewhere: the list shows it as
    // it is now. Only the search button forgets the saved sort.
    guardedConnect(&m_navigator, &Navigator::toolsChanged, this, d, [this] { refresh(); });
    // Tools issued or returned at another desk: a list in view shows them as
    // they are now, where it was; a hidden one is searched anew when shown.
    guardedConnect(&m_navigator, &Navigator::otherDesksChanged, this, d, [this] {
        if (isVisible() && m_tools.isOpen() && m_tools.state() == Query::State::Browse)
            DBGrid1->reopenInPlace(QStringLiteral("ID"));
    });
}

void TfmTools::followAccessMode()
{
    // Changing and deleting tools is the administrator's.
    Button2->setEnabled(m_session.isAdministrator());
    Button3->setEnabled(m_session.isAdministrator());
}

void TfmTools::btInventClick()
{
    // The language of the moment chooses the template; each click its own file.
    TfrxReport& report = m_inventory.prepare(m_session.russian());
    const QString file = ReportFileName::inventory(m_session.paths().folder, m_platform.clock.now());
    const Messages& texts = m_session.texts();
    try {
        (void)writeAndOpenRtf(report, file, texts.rsReplaceFile, m_platform, this);
    } catch (const FileWriteError& e) {
        m_platform.dialogs.error(this, fileWriteFailureText(e, texts.rsReportNotWritten, file, texts));
    }
}

void TfmTools::pageShown()
{
    LoadWorkTypes();
    Search();
    ShowTableRecordCount();
    applySavedSort();
    SetColumnView();
    DBGrid1->spreadColumns();
}

void TfmTools::SetColumnView()
{
    const Settings& settings = m_session.settings();
    for (int n = Settings::ToolColumnCount; n >= 1; --n)
        DBGrid1->setColumnHidden(n, !settings.toolColumnVisible(n));
}

void TfmTools::Search()
{
    // The chosen work type's tools as stored now, whatever another window chose since.
    const std::optional<qint64> workType = cbWorkTypes->chosenKey();
    QStringList identities;
    if (workType)
        identities = WorkTypeToolList::read(m_session.connection(), *workType).identities();
    const SqlDialect& d = m_session.connection().dialect();
    m_tools.setStatement(toolSearchStatement(Edit1->text(), Edit2->text(), workType.has_value(), identities, d,
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

int TfmTools::GetTableRecordCount(const QString& ATable)
{
    // Only the tool table has codes to count; a table name is never taken from outside.
    if (ATable.compare(u"Tools", Qt::CaseInsensitive) != 0)
        return 0;
    const ToolSearchStatement s = toolCountStatement(m_session.connection().dialect(), Edit1->text());
    return m_session.connection().scalar(s.sql, s.params).toInt();
}

void TfmTools::ShowTableRecordCount()
{
    m_recordCount = GetTableRecordCount(QStringLiteral("Tools"));
    lbRecordCount->setText(recordCountText(m_session.russian(), m_recordCount));
}

void TfmTools::LoadWorkTypes()
{
    cbWorkTypes->load(m_session.qWorkTypes, false);
}

void TfmTools::cbWorkTypesChange()
{
    // The work types window shows the work type chosen last; the search reads this page's own choice.
    if (const std::optional<qint64> workType = cbWorkTypes->chosenKey())
        m_session.qWorkTypes.locate(QStringLiteral("ID"), *workType);
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
    DBGrid1->toggleSort(column);
    m_session.settings().setSortTools(m_tools.sort());
}

void TfmTools::locateRemembered()
{
    m_tools.locate(QStringLiteral("ID"), m_rememberedToolKey); // a tool gone from the list is no error
}

void TfmTools::Button1Click()
{
    if (!m_tools.isOpen())
        Search();
    m_tools.append();
    QFile picture(m_session.paths().toolPicture);
    if (picture.open(QIODevice::ReadOnly))
        m_tools.setValue(QStringLiteral("Photo"), picture.readAll());
    m_tools.setValue(QStringLiteral("Date_Purchase"), m_platform.clock.now().date());
    m_navigator.openToolEditor();
    ShowTableRecordCount();
    applySavedSort();
}

void TfmTools::Button2Click()
{
    if (!m_tools.isOpen() || m_tools.isEmpty())
        return;
    m_tools.edit();
    m_rememberedToolKey = m_tools.integer(QStringLiteral("ID"));
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
    m_rememberedToolKey = m_tools.integer(QStringLiteral("ID"));
    m_navigator.openToolCard();
    locateRemembered();
}

bool TfmTools::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(m_platform.dialogs, this, [this] { Search(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfmTools::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    Edit1->setAccessibleName(Edit1->placeholderText());
    Edit2->setAccessibleName(Edit2->placeholderText());
    cbWorkTypes->setAccessibleName(cbWorkTypes->toolTip());
    DBGrid1->setAccessibleName(windowTitle());
    // A list in view counts anew; a hidden one, the tool list at every start
    // among them, shows its last count in the new language until it is shown.
    if (isVisibleTo(window()))
        runGuarded(m_platform.dialogs, this, [this] { ShowTableRecordCount(); });
    else
        lbRecordCount->setText(recordCountText(m_session.russian(), m_recordCount));
}

QList<Localization::Text> toolListTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmTools", "", P::Title, 0, "Инструмент", "Tools"},
        {"TfmTools", "Edit1", P::Hint, 0, "ID инструмента", "ID tool"},
        {"TfmTools", "Edit2", P::Hint, 0, "Тип инструмента", "Tool type"},
        {"TfmTools", "cbWorkTypes", P::ToolTip, 0, "Вид работ", "Work types"},
        {"TfmTools", "btSearch", P::Caption, 0, "Поиск", "Search"},
        {"TfmTools", "Button1", P::Caption, 0, "Добавить", "New"},
        {"TfmTools", "Button2", P::Caption, 0, "Изменить", "Edit"},
        {"TfmTools", "Button3", P::Caption, 0, "Удалить", "Delete"},
        {"TfmTools", "btInvent", P::Caption, 0, "Инвентаризация", "Inventory"},
        {"TfmTools", "btWorkTypes", P::Caption, 0, "Виды работ", "Work types"},
    };
    rows += toolGridTitles("TfmTools", "DBGrid1");
    return rows;
}
