#include "TfmTools.h"

#include "TfmCard_T.h"
#include "TfmEditor_T.h"
#include "ToolSearch.h"
#include "app/Forms.h"
#include "config/Messages.h"
#include "config/TfmSettings.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kColumns[] = {"ID_Tool", "Tool_Type", "Proizvoditel", "SNumber", "Model", "Tool_State",
                                "Date_Purchase", "Guarantee", "Price", "Naim", "Inv", "Mesto"};
const int kWidths[] = {120, 120, 120, 120, 100, 100, 100, 100, 100, 100, 100, 100};

const QColor kInStore(179, 244, 144);
const QColor kInStoreSelected(147, 249, 92);
const QColor kIssued(255, 161, 127);
const QColor kIssuedSelected(249, 132, 89);

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

} // namespace

TfmTools::TfmTools(Forms& forms, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , qWorkTypes(forms.main->connection())
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmTools"));
    Edit1 = edit(this, "Edit1");
    Edit2 = edit(this, "Edit2");
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    cbWorkTypes = new QComboBox(this);
    cbWorkTypes->setObjectName(QStringLiteral("cbWorkTypes"));
    cbWorkTypes->setMinimumWidth(160);
    btSearch = button(this, "btSearch");
    lbRecordCount = new QLabel(QStringLiteral("общее количество: 0"), this);
    lbRecordCount->setObjectName(QStringLiteral("lbRecordCount"));
    Button1 = button(this, "Button1");
    Button2 = button(this, "Button2");
    Button3 = button(this, "Button3");
    btInvent = button(this, "btInvent");
    btWorkTypes = button(this, "btWorkTypes");
    // Their windows come with the work types.
    btInvent->hide();
    btWorkTypes->hide();

    TfmMain& main = *m_forms.main;
    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new QueryModel(main.qTools, DBGrid1);
    QList<GridColumn> columns;
    for (const char* field : kColumns)
        columns.append({QLatin1String(field), {}, {}});
    m_model->setColumns(columns);
    m_model->setRowColours([&main](int row, bool selected) {
        const int passed = main.qTools.fieldIndex(QStringLiteral("Passed"));
        if (passed < 0)
            return QColor();
        const bool inStore = Query::parseBool(main.qTools.value(row, passed)).value_or(false);
        return inStore ? (selected ? kInStoreSelected : kInStore) : (selected ? kIssuedSelected : kIssued);
    });
    DBGrid1->setQueryModel(m_model);
    for (int i = 0; i < m_model->columnCount(); ++i)
        DBGrid1->setColumnWidth(i, kWidths[i]);
    DBGrid1->installEventFilter(this);

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

    auto guard = [this](auto handler) {
        return [this, handler] { runGuarded(m_platform.dialogs, this, [&] { (this->*handler)(); }); };
    };
    connect(btSearch, &QPushButton::clicked, this, guard(&TfmTools::btSearchClick));
    connect(Button1, &QPushButton::clicked, this, guard(&TfmTools::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(&TfmTools::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guard(&TfmTools::Button3Click));
    connect(DBGrid1, &DbGrid::rowDoubleClicked, this, guard(&TfmTools::DBGrid1DblClick));
    connect(cbWorkTypes, &QComboBox::activated, this, guard(&TfmTools::cbWorkTypesChange));
    connect(DBGrid1, &DbGrid::titleClicked, this,
            [this](int column) { runGuarded(m_platform.dialogs, this, [&] { DBGrid1TitleClick(column); }); });
}

void TfmTools::FormCreate()
{
    TfmMain& main = *m_forms.main;
    main.registerAdminButton(Button2);
    main.registerAdminButton(Button3);
    main.registerToolGrid(DBGrid1);
    qWorkTypes.setSql(QStringLiteral("SELECT * FROM WORKTYPES"));
    qWorkTypes.open();
}

QString TfmTools::setting(const QString& key) const
{
    return m_forms.settings ? m_forms.settings->LoadSettings(key) : QString();
}

void TfmTools::saveSetting(const QString& key, const QString& value) const
{
    if (m_forms.settings)
        m_forms.settings->SaveSettings(key, value);
}

void TfmTools::FormShow()
{
    Search();
    ShowTableRecordCount();
}

void TfmTools::Search()
{
    const bool workTypeChosen = !cbWorkTypes->currentText().trimmed().isEmpty();
    QStringList identities;
    if (workTypeChosen && qWorkTypes.isOpen() && !qWorkTypes.eof())
        identities = parseToolList(qWorkTypes.text(QStringLiteral("AField_2")).trimmed());
    const SqlDialect& d = m_forms.main->connection().dialect();
    const ToolSearchStatement s = toolSearchStatement(Edit1->text(), Edit2->text(), workTypeChosen, identities,
                                                      d.sqlTrue(), d.falseFirst(QStringLiteral("Passed")));
    Query& tools = m_forms.main->qTools;
    tools.setSql(s.sql, s.params);
    tools.open();
}

int TfmTools::GetTableRecordCount(const QString& ATable)
{
    // Only the tool table has codes to count; a table name is never taken from outside.
    if (ATable.compare(u"Tools", Qt::CaseInsensitive) != 0)
        return 0;
    Connection& db = m_forms.main->connection();
    if (Edit1->text().isEmpty())
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool IS NOT NULL")).toInt();
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE ID_Tool LIKE ? ESCAPE '\\'"),
                     {containsPattern(Edit1->text())})
        .toInt();
}

void TfmTools::ShowTableRecordCount()
{
    const int count = GetTableRecordCount(QStringLiteral("Tools"));
    const int language = m_forms.languageBox ? m_forms.languageBox->currentIndex() : 0;
    if (language == 0)
        lbRecordCount->setText(QStringLiteral("общее количество: %1").arg(count));
    else if (language == 1)
        lbRecordCount->setText(QStringLiteral("total count: %1").arg(count));
}

void TfmTools::LoadWorkTypes()
{
    if (!qWorkTypes.isOpen())
        qWorkTypes.open();
    else
        qWorkTypes.reopen(); // another window may have added or renamed work types
    WT_List.clear();
    cbWorkTypes->clear();
    for (qWorkTypes.first(); !qWorkTypes.eof(); qWorkTypes.next()) {
        cbWorkTypes->addItem(qWorkTypes.text(QStringLiteral("AField")));
        WT_List << qWorkTypes.integer(QStringLiteral("ID"));
    }
    cbWorkTypes->addItem(QString()); // the last item means no work type
    cbWorkTypes->setCurrentIndex(-1);
}

void TfmTools::cbWorkTypesChange()
{
    if (cbWorkTypes->currentText().trimmed().isEmpty())
        return;
    const int index = cbWorkTypes->currentIndex();
    if (index >= 0 && index < WT_List.size())
        qWorkTypes.locate(QStringLiteral("ID"), WT_List.at(index));
}

void TfmTools::applySavedSort()
{
    const QString saved = setting(QStringLiteral("SortTools")).trimmed();
    // Anything but "<field> ASC|DESC" (an absent key reads "0") means no sort.
    if (!saved.isEmpty())
        m_forms.main->qTools.setSort(saved);
}

void TfmTools::btSearchClick()
{
    Search();
    saveSetting(QStringLiteral("SortTools"), QString());
}

void TfmTools::DBGrid1TitleClick(int column)
{
    const QString field = m_model->columns().value(column).field;
    if (field.isEmpty())
        return;
    Query& tools = m_forms.main->qTools;
    const QString ascending = field + QStringLiteral(" ASC");
    tools.setSort(tools.sort() == ascending ? field + QStringLiteral(" DESC") : ascending);
    saveSetting(QStringLiteral("SortTools"), tools.sort());
}

void TfmTools::locateRemembered()
{
    m_forms.main->qTools.locate(QStringLiteral("ID"), RememberedToolKey); // a tool gone from the list is no error
}

void TfmTools::Button1Click()
{
    Query& tools = m_forms.main->qTools;
    if (!tools.isOpen())
        Search();
    tools.append();
    QFile picture(m_forms.main->programFolder() + QStringLiteral("Data/T.bmp"));
    if (picture.open(QIODevice::ReadOnly))
        tools.setValue(QStringLiteral("Photo"), picture.readAll());
    tools.setValue(QStringLiteral("Date_Purchase"), m_platform.clock.now().date());
    TfmEditor_T& editor = *m_forms.editorT;
    editor.IsNewRecord = true;
    editor.Old_Serial.clear();
    RememberedToolCode.clear();
    editor.execute();
    applySavedSort();
}

void TfmTools::Button2Click()
{
    Query& tools = m_forms.main->qTools;
    if (!tools.isOpen() || tools.isEmpty())
        return;
    tools.edit();
    RememberedToolCode = tools.text(QStringLiteral("ID_Tool"));
    RememberedToolKey = tools.integer(QStringLiteral("ID"));
    TfmEditor_T& editor = *m_forms.editorT;
    editor.IsNewRecord = false;
    editor.Old_Serial = tools.text(QStringLiteral("SNumber")).trimmed();
    editor.execute();
    applySavedSort();
    locateRemembered();
}

void TfmTools::Button3Click()
{
    Query& tools = m_forms.main->qTools;
    if (!tools.isOpen() || tools.isEmpty())
        return;
    if (!m_platform.dialogs.confirm(this, m_forms.texts->rsDellConfirm))
        return;
    tools.remove();
    ShowTableRecordCount();
}

void TfmTools::DBGrid1DblClick()
{
    Query& tools = m_forms.main->qTools;
    if (!tools.isOpen() || tools.isEmpty())
        return;
    TfmCard_T& card = *m_forms.cardT;
    if (tools.boolean(QStringLiteral("Passed"))) {
        card.btReturn->setEnabled(false);
        card.btHend->setEnabled(m_forms.main->isAdministrator());
    } else {
        card.btReturn->setEnabled(true);
        card.btHend->setEnabled(false);
    }
    card.ID = tools.text(QStringLiteral("ID_Tool_Unique"));
    card.ID_ForHend = tools.text(QStringLiteral("ID_Tool"));
    card.reloadJournal();
    RememberedToolKey = tools.integer(QStringLiteral("ID"));
    card.execute();
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
    if (watched == DBGrid1 && event->type() == QEvent::Resize)
        TfmMain::SizeGrid(DBGrid1);
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
    DBGrid1->setAccessibleName(m_forms.main ? m_forms.main->SpeedButton4->text() : QString());
    ShowTableRecordCount();
}

QList<Localization::Text> toolListTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
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
    const char* titles[][2] = {{"ID инструмента", "ID tool"}, {"Тип", "Tool"},           {"Производитель", "Brand"},
                               {"Серийный №", "Serial №"},    {"Модель", "Model"},       {"Состояние", "Condition"},
                               {"Приобретен", "Purchase date"}, {"Гарантия", "Warranty"}, {"Цена", "Price"},
                               {"Наименование", "Name"},      {"Инвентарный", "Inventory"}, {"Место", "Place"}};
    for (int i = 0; i < 12; ++i)
        rows.append({"TfmTools", "DBGrid1", P::ColumnTitle, i, titles[i][0], titles[i][1]});
    return rows;
}
