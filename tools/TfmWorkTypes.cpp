#include "TfmWorkTypes.h"

#include "core/Navigator.h"
#include "core/Session.h"
#include "core/WorkTypeToolList.h"
#include "data/Columns.h"
#include "data/QueryModel.h"
#include "data/ToolIdentities.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QStringList kToolColumns = {col::Tools::ID_Tool, col::Tools::Naim, col::Tools::Tool_Type,
                                  col::Tools::Proizvoditel, col::Tools::Model};

DbGrid* toolGrid(QWidget* parent, Query& tools, const char* name)
{
    auto* grid = named(new DbGrid(parent), name);
    auto* model = new QueryModel(tools, grid);
    QList<GridColumn> columns;
    for (const QString& field : kToolColumns)
        columns.append({field, {}, {}});
    model->setColumns(columns);
    grid->setQueryModel(model);
    grid->setSpreadOnResize(true);
    return grid;
}

} // namespace

TfmWorkTypes::TfmWorkTypes(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , qTools_as_Work(session.connection())
    , qAllTools(session.connection())
    , m_session(session)
    , qWorkTypes(session.qWorkTypes)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmWorkTypes"));
    setModal(false);
    resize(900, 560);
    btAdd = named(new QPushButton(this), "btAdd");
    btEdit = named(new QPushButton(this), "btEdit");
    btDelete = named(new QPushButton(this), "btDelete");
    edID = named(new QLineEdit(this), "edID");
    edID->setMaxLength(16);
    btAdd_tool = named(new QPushButton(this), "btAdd_tool");
    btDell_Tool = named(new QPushButton(this), "btDell_Tool");
    for (QPushButton* b : {btAdd, btEdit, btDelete, btAdd_tool, btDell_Tool})
        b->setAutoDefault(false); // Enter in the code box adds the tool, nothing else
    buildGrids();
    buildLayout();
    connectHandlers();
}

void TfmWorkTypes::buildGrids()
{
    Grid_Works = named(new DbGrid(this), "Grid_Works");
    auto* works = new QueryModel(qWorkTypes, Grid_Works);
    works->setColumns({{col::Dictionary::AField, {}, {}}});
    Grid_Works->setQueryModel(works);
    Grid_Works->setSpreadOnResize(true);
    Grid_Tools = toolGrid(this, qTools_as_Work, "Grid_Tools");
    Grid_All_Tools = toolGrid(this, qAllTools, "Grid_All_Tools");
}

void TfmWorkTypes::buildLayout()
{
    auto* top = new QHBoxLayout;
    top->addWidget(btAdd);
    top->addWidget(btEdit);
    top->addWidget(btDelete);
    top->addStretch(1);
    top->addWidget(edID);
    top->addWidget(btAdd_tool);
    top->addWidget(btDell_Tool);
    m_splitter = named(new QSplitter(Qt::Vertical, this), "Splitter1");
    m_splitter->addWidget(Grid_Tools);
    m_splitter->addWidget(Grid_All_Tools);
    auto* halves = new QSplitter(Qt::Horizontal, this);
    halves->addWidget(Grid_Works);
    halves->addWidget(m_splitter);
    halves->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(halves, 1);
}

void TfmWorkTypes::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btAdd, &QPushButton::clicked, this, d, [this] { btAddClick(); });
    guardedConnect(btEdit, &QPushButton::clicked, this, d, [this] { btEditClick(); });
    guardedConnect(btDelete, &QPushButton::clicked, this, d, [this] { btDeleteClick(); });
    guardedConnect(btAdd_tool, &QPushButton::clicked, this, d, [this] { btAdd_toolClick(); });
    guardedConnect(edID, &QLineEdit::returnPressed, this, d, [this] { btAdd_toolClick(); });
    guardedConnect(btDell_Tool, &QPushButton::clicked, this, d, [this] { btDell_ToolClick(); });
    guardedConnect(Grid_All_Tools, &DbGrid::clicked, this, d, [this] { Grid_All_ToolsCellClick(); });
    // The tools shown are always those of the current work type, however it
    // became current, so adding and removing act on the work type in view.
    guardedConnect(&qWorkTypes, &Query::currentChanged, this, d, [this] { LoadTools(); });
    guardedConnect(&qWorkTypes, &Query::reopened, this, d, [this] { LoadTools(); });
    // Tools added or changed since the start are offered too.
    guardedConnect(&m_navigator, &Navigator::toolsChanged, this, d, [this] {
        if (isVisible())
            qAllTools.reopen();
    });
    for (DbGrid* grid : {Grid_Works, Grid_Tools, Grid_All_Tools})
        reportErrorsOf(grid, &DbGrid::databaseError, this, d);
}

void TfmWorkTypes::FormCreate()
{
    qAllTools.setStatement(Select(col::Tools::Table).orderBy(col::Key));
    qAllTools.open();
}

bool TfmWorkTypes::hasCurrentWorkType() const
{
    return qWorkTypes.isOpen() && !qWorkTypes.isEmpty() && qWorkTypes.recNo() >= 0;
}

QString TfmWorkTypes::GetUniqueID(const QString& AToolID)
{
    Connection& db = m_session.connection();
    const QString where = db.dialect().caselessEquals(col::Tools::ID_Tool, AToolID);
    namespace T = col::Tools;
    qint64 key = 0;
    QString identity;
    {
        Statement row = db.run(
            Select(T::Table).columns({col::Key, T::ID_Tool_Unique}).where(where, {AToolID}).orderBy(col::Key).limit(1));
        if (!row->next())
            return QLatin1String(NoData);
        key = row->value(0).toLongLong();
        identity = row->value(1).toString();
    }
    // A tool row written by another program gets its identity before the
    // list refers to it.
    if (identity.isEmpty() && ToolIdentities::assignTo(db, key))
        identity = db.scalar(Select(T::Table).columns({T::ID_Tool_Unique}).whereEquals(col::Key, key)).toString();
    identity = identity.trimmed();
    // A tool that has no code either cannot be listed.
    return identity.isEmpty() ? QLatin1String(NoData) : identity;
}

QString TfmWorkTypes::currentStoredList()
{
    // Another copy of the program may have changed the list since it was read.
    qWorkTypes.refreshCurrent();
    return qWorkTypes.text(col::Dictionary::AField_2);
}

void TfmWorkTypes::storeList(const QString& stored)
{
    try {
        qWorkTypes.edit();
        qWorkTypes.setValue(col::Dictionary::AField_2, stored);
        qWorkTypes.post();
    } catch (const DbError&) {
        qWorkTypes.cancel();
        throw;
    }
    m_navigator.notifyWorkTypesChanged();
}

void TfmWorkTypes::AddToRange(const QString& AToolID)
{
    WorkTypeToolList list(currentStoredList());
    if (list.add(AToolID))
        storeList(list.stored());
}

void TfmWorkTypes::DellFromRange(const QString& AToolID)
{
    WorkTypeToolList list(currentStoredList());
    if (list.remove(AToolID) > 0)
        storeList(list.stored());
}

void TfmWorkTypes::LoadTools()
{
    const QStringList identities = hasCurrentWorkType()
        ? WorkTypeToolList(qWorkTypes.text(col::Dictionary::AField_2)).identities()
        : QStringList();
    if (identities.isEmpty()) {
        qTools_as_Work.setStatement(Select(col::Tools::Table).where(col::Key + QStringLiteral("=-1")));
    } else {
        QStringList marks;
        QVariantList params;
        for (const QString& identity : identities) {
            marks << QStringLiteral("?");
            params << identity;
        }
        qTools_as_Work.setStatement(
            Select(col::Tools::Table)
                .where(QStringLiteral("%1 IN (%2)").arg(col::Tools::ID_Tool_Unique, marks.join(u',')), params)
                .orderBy(col::Key));
    }
    qTools_as_Work.open();
}

void TfmWorkTypes::btAddClick()
{
    qWorkTypes.append();
    qWorkTypes.setValue(col::Dictionary::AField_2, QString()); // a new work type has no tools
    m_navigator.openWorkTypeEditor();
}

void TfmWorkTypes::btEditClick()
{
    if (!hasCurrentWorkType())
        return;
    qWorkTypes.edit();
    m_navigator.openWorkTypeEditor();
}

void TfmWorkTypes::btDeleteClick()
{
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsDellConfirm))
        return;
    if (!hasCurrentWorkType())
        return;
    qWorkTypes.remove();
    m_navigator.notifyWorkTypesChanged();
}

void TfmWorkTypes::btAdd_toolClick()
{
    // Tools are added to a work type; without one there is nowhere to add.
    if (!hasCurrentWorkType())
        return;
    const QString code = edID->text().trimmed();
    edID->clear();
    if (code.isEmpty())
        return;
    const QString identity = GetUniqueID(code);
    if (identity == QLatin1String(NoData)) {
        m_platform.dialogs.message(this, m_session.texts().rsIDnotFound);
        return;
    }
    AddToRange(identity);
    LoadTools();
}

void TfmWorkTypes::btDell_ToolClick()
{
    if (!qTools_as_Work.isOpen() || qTools_as_Work.isEmpty() || qTools_as_Work.recNo() < 0)
        return;
    if (qTools_as_Work.text(col::Tools::ID_Tool).trimmed().isEmpty())
        return;
    // The row's own identity: it is what the list holds, whatever the tool's code now.
    const QString identity = qTools_as_Work.text(col::Tools::ID_Tool_Unique);
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsDellConfirm))
        return;
    if (!hasCurrentWorkType())
        return;
    DellFromRange(identity);
    LoadTools();
}

void TfmWorkTypes::Grid_All_ToolsCellClick()
{
    if (qAllTools.recNo() >= 0)
        edID->setText(qAllTools.text(col::Tools::ID_Tool));
}

void TfmWorkTypes::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) { // centred on the screen the first time
        m_placed = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    runGuarded(m_platform.dialogs, this, [this] {
        if (qAllTools.isOpen())
            qAllTools.reopen();
        LoadTools();
    });
}

void TfmWorkTypes::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    edID->setAccessibleName(QStringLiteral("ID"));
    Grid_Works->setAccessibleName(windowTitle());
    Grid_Tools->setAccessibleName(windowTitle() + QStringLiteral(": ") + Grid_Tools->columnTitles());
    Grid_All_Tools->setAccessibleName(Grid_All_Tools->columnTitles());
}

QList<Localization::Text> workTypesTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmWorkTypes", "", P::Title, 0, "Вид работ", "Type of work"},
        {"TfmWorkTypes", "btAdd", P::Caption, 0, "Добавить", "Add"},
        {"TfmWorkTypes", "btEdit", P::Caption, 0, "Изменить", "Edit"},
        {"TfmWorkTypes", "btDelete", P::Caption, 0, "Удалить", "Delete"},
        {"TfmWorkTypes", "btAdd_tool", P::Caption, 0, "Добавить", "Add"},
        {"TfmWorkTypes", "btDell_Tool", P::Caption, 0, "Удалить", "Delete"},
        {"TfmWorkTypes", "Grid_Works", P::ColumnTitle, 0, "Вид работ", "Type of work"},
    };
    const char* titles[][2] = {
        {"ID", "ID"}, {"Наименование", "Name"}, {"Тип", "Type"}, {"Производитель", "Company"}, {"Модель", "Model"}};
    for (int i = 0; i < 5; ++i) {
        rows.append({"TfmWorkTypes", "Grid_Tools", P::ColumnTitle, i, titles[i][0], titles[i][1]});
        rows.append(
            {"TfmWorkTypes", "Grid_All_Tools", P::ColumnTitle, i, i == 4 ? "Модель №" : titles[i][0], titles[i][1]});
    }
    return rows;
}
