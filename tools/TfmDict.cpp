#include "TfmDict.h"

#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/QueryModel.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

// What tells the three windows apart.
struct DictionaryLook {
    const char* window;
    const char* titleRu;
    const char* titleEn;
    const char* columnRu;
    const char* columnEn;
    const char* hintRu;
    const char* hintEn;
};

namespace {

constexpr DictionaryLook kKinds[] = {
    {"TfmDict_Naim", "Справочник наименований", "Directory of titles", "Наименования", "Titles", "Введите наименование",
     "Enter the name"},
    {"TfmDict_Mesto", "Справочник мест", "Directory of places", "Места", "Places", "Введите место", "Enter place"},
    {"TfmDict_Types", "Справочник типов", "Directory of types", "Тип", "Types", "Введите тип", "Enter type"},
};

constexpr const char* kAddRu = "Добавить";
constexpr const char* kAddEn = "Add";
// The menu item is a QAction, which the text sets cannot reach by widget name.
constexpr const char* kDeleteRu = "Удалить выбранную запись";
constexpr const char* kDeleteEn = "Delete selected entry";
constexpr const char* kPlaces = "TfmDict_Mesto";

constexpr int kColumnWidth = 360;
// The types' loan period column and box.
constexpr int kLoanColumnWidth = 110;
constexpr const char* kLoanColumnRu = "Срок выдачи, дней";
constexpr const char* kLoanColumnEn = "Loan period, days";
constexpr const char* kLoanBoxRu = "Срок выдачи выбранного типа, дней (Enter — записать):";
constexpr const char* kLoanBoxEn = "Loan period of the chosen type, days (Enter saves):";
constexpr int kFieldSize = 255; // AField is CHAR(255)

const DictionaryLook& info(TfmDict::Kind kind)
{
    return kKinds[static_cast<int>(kind)];
}

} // namespace

TfmDict::TfmDict(Kind kind, Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , Query(session.connection())
    , m_kind(kind)
    , m_session(session)
    , m_navigator(navigator)
    , m_platform(platform)
{
    const DictionaryLook& k = info(kind);
    setObjectName(QLatin1String(k.window));
    setModal(true);
    setFixedSize(410, 510);
    Query.setStatement(Select(dictionaryTable(kind)));
    buildGrid(k);
    buildEntryRow(k);
    connectHandlers();
}

void TfmDict::buildGrid(const DictionaryLook& k)
{
    m_model = new QueryModel(Query, this);
    m_model->setColumns({{col::Dictionary::AField, QString::fromUtf8(k.columnRu), {}}});
    if (m_kind == Kind::Types)
        m_model->setColumns({{col::Dictionary::AField, QString::fromUtf8(k.columnRu), {}},
                             {col::TOOLTYPES::LoanDays, QString::fromUtf8(kLoanColumnRu), {}}});
    DBGrid = new DbGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setQueryModel(m_model);
    DBGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    applyGridLayout();
    // A reset rebuilds the header, which forgets the width.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TfmDict::applyGridLayout);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    N1 = PopupMenu->addAction(QString::fromUtf8(kDeleteRu));
    N1->setObjectName(QStringLiteral("N1"));
    // The Delete key in the grid does the same (see eventFilter); the menu shows it.
    N1->setShortcut(QKeySequence::Delete);
    N1->setShortcutContext(Qt::WidgetShortcut);
    DBGrid->installEventFilter(this);
}

void TfmDict::buildEntryRow(const DictionaryLook& k)
{
    edField = new QLineEdit(this);
    edField->setObjectName(QStringLiteral("edField"));
    edField->setMaxLength(kFieldSize);
    edField->setPlaceholderText(QString::fromUtf8(k.hintRu));
    btAdd = new QPushButton(QString::fromUtf8(kAddRu), this);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btAdd->setAutoDefault(false); // Enter in the box adds once, through the box itself

    setWindowTitle(QString::fromUtf8(k.titleRu));
    edField->setAccessibleName(edField->placeholderText());
    DBGrid->setAccessibleName(windowTitle());

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(edField, 1);
    bottom->addWidget(btAdd);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid, 1);
    if (m_kind == Kind::Types)
        buildLoanDaysRow(layout);
    layout->addLayout(bottom);
    setTabOrder(edField, btAdd);
    if (m_kind == Kind::Mesto) {
        btLabels = new QPushButton(this);
        btLabels->setObjectName(QStringLiteral("btLabels"));
        btLabels->setAutoDefault(false);
        bottom->addWidget(btLabels);
        setTabOrder(btAdd, btLabels);
        setTabOrder(btLabels, DBGrid);
    } else {
        setTabOrder(btAdd, DBGrid);
    }
}

void TfmDict::buildLoanDaysRow(QBoxLayout* layout)
{
    lbLoanDays = new QLabel(QString::fromUtf8(kLoanBoxRu), this);
    lbLoanDays->setObjectName(QStringLiteral("lbLoanDays"));
    lbLoanDays->setWordWrap(true);
    edLoanDays = new QLineEdit(this);
    edLoanDays->setObjectName(QStringLiteral("edLoanDays"));
    edLoanDays->setMaxLength(5);
    edLoanDays->setMaximumWidth(80);
    lbLoanDays->setBuddy(edLoanDays);
    auto* row = new QHBoxLayout;
    row->addWidget(lbLoanDays, 1);
    row->addWidget(edLoanDays);
    layout->addLayout(row);
    connect(edLoanDays, &QLineEdit::returnPressed, this, &TfmDict::edLoanDaysEnter);
    connect(&Query, &::Query::currentChanged, this, &TfmDict::showLoanDays);
    connect(&Query, &::Query::reopened, this, &TfmDict::showLoanDays);
}

void TfmDict::showLoanDays()
{
    if (edLoanDays)
        edLoanDays->setText(Query.isEmpty() || Query.recNo() < 0 ? QString() : Query.text(col::TOOLTYPES::LoanDays));
}

void TfmDict::edLoanDaysEnter()
{
    runGuarded(m_platform.dialogs, this, [&] {
        if (Query.isEmpty() || Query.recNo() < 0)
            return;
        // Later issues take it; tools out keep the due date they were issued with.
        const QString typed = edLoanDays->text().trimmed();
        bool number = false;
        const int days = typed.toInt(&number);
        if (!typed.isEmpty() && (!number || days < 0)) {
            m_platform.dialogs.message(this, m_session.texts().rsLoanDaysNotNumber);
            return;
        }
        try {
            Query.edit();
            Query.setValue(col::TOOLTYPES::LoanDays, typed.isEmpty() ? QVariant() : QVariant(days));
            Query.post();
        } catch (const DbError&) {
            Query.cancel();
            throw;
        }
        m_navigator.notifyDictionaryChanged(m_kind);
    });
}

void TfmDict::connectHandlers()
{
    connect(btAdd, &QPushButton::clicked, this, &TfmDict::btAddClick);
    connect(edField, &QLineEdit::returnPressed, this, &TfmDict::btAddClick);
    connect(N1, &QAction::triggered, this, &TfmDict::N1Click);
    if (btLabels)
        connect(btLabels, &QPushButton::clicked, this, &TfmDict::btLabelsClick);
    connect(DBGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu->popup(DBGrid->viewport()->mapToGlobal(pos)); });
}

QString TfmDict::tableName() const
{
    return dictionaryTable(m_kind);
}

void TfmDict::applyGridLayout()
{
    if (m_kind == Kind::Types) {
        DBGrid->setColumnWidth(0, kColumnWidth - kLoanColumnWidth);
        DBGrid->setColumnWidth(1, kLoanColumnWidth - 20);
        return;
    }
    DBGrid->setColumnWidth(0, kColumnWidth);
}

void TfmDict::FormCreate()
{
    Query.open();
}

QStringList TfmDict::entries() const
{
    // Reading the remaining pages only fills the query's cache; its rows and
    // current row stay as they are.
    auto& q = const_cast<::Query&>(Query);
    QStringList result;
    if (!q.isOpen())
        return result;
    while (q.canFetchMore())
        q.fetchMore();
    const int field = q.fieldIndex(col::Dictionary::AField);
    if (field < 0)
        return result;
    for (int row = 0; row < q.fetchedCount(); ++row)
        result << q.value(row, field).toString();
    return result;
}

void TfmDict::btAddClick()
{
    runGuarded(m_platform.dialogs, this, [&] {
        const QString text = edField->text().trimmed();
        if (text.isEmpty())
            return;
        try {
            Query.append();
            Query.setValue(col::Dictionary::AField, text);
            Query.post();
        } catch (const DbError&) {
            // No half-made row stays behind; the typed text stays in the box.
            Query.cancel();
            throw;
        }
        edField->clear();
        emit entriesChanged();
        m_navigator.notifyDictionaryChanged(m_kind);
    });
}

void TfmDict::N1Click()
{
    runGuarded(m_platform.dialogs, this, [&] {
        if (!m_platform.dialogs.confirm(this, m_session.texts().rsDellConfirm))
            return;
        if (Query.isEmpty() || Query.recNo() < 0)
            return;
        Query.remove();
        emit entriesChanged();
        m_navigator.notifyDictionaryChanged(m_kind);
    });
}

QStringList TfmDict::placeCodes()
{
    QStringList codes;
    if (!Query.isOpen())
        return codes;
    while (Query.canFetchMore())
        Query.fetchMore();
    const QString prefix = m_session.settings().placeLabelPrefix();
    const int key = Query.fieldIndex(col::Key);
    for (int row = 0; key >= 0 && row < Query.fetchedCount(); ++row)
        codes << prefix + Query.value(row, key).toString();
    return codes;
}

void TfmDict::btLabelsClick()
{
    runGuarded(m_platform.dialogs, this, [&] {
        const bool chosen = Query.isOpen() && !Query.isEmpty() && Query.recNo() >= 0;
        const QString code = chosen ? m_session.settings().placeLabelPrefix() + QString::number(Query.integer(col::Key))
                                    : QString();
        m_navigator.openLabels(LabelKind::Places, code, [this] { return placeCodes(); });
    });
}

bool TfmDict::eventFilter(QObject* watched, QEvent* event)
{
    // Handled here rather than as a shortcut: a shortcut needs the window
    // active, a key press reaching the grid does not.
    if (watched == DBGrid && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        N1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfmDict::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        N1->setText(QString::fromUtf8(m_session.russian() ? kDeleteRu : kDeleteEn));
        edField->setAccessibleName(edField->placeholderText());
        DBGrid->setAccessibleName(windowTitle());
    }
}

void TfmDict::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Opens over the main window, where the storekeeper is looking.
    if (m_anchor && m_anchor->isVisible()) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_anchor->frameGeometry().center());
        move(frame.topLeft());
    }
    edField->setFocus();
}

QList<Localization::Text> dictionaryTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows;
    for (const DictionaryLook& k : kKinds) {
        rows << Localization::Text{k.window, "", P::Title, 0, k.titleRu, k.titleEn}
             << Localization::Text{k.window, "btAdd", P::Caption, 0, kAddRu, kAddEn}
             << Localization::Text{k.window, "edField", P::Hint, 0, k.hintRu, k.hintEn}
             << Localization::Text{k.window, "DBGrid", P::ColumnTitle, 0, k.columnRu, k.columnEn};
    }
    rows << Localization::Text{kPlaces, "btLabels", P::Caption, 0, "Этикетки", "Labels"}
         << Localization::Text{kPlaces,
                               "btLabels",
                               P::ToolTip,
                               0,
                               "Этикетки выбранного места, всего списка или введенных кодов",
                               "Labels of the chosen place, of every place listed or of typed codes"};
    rows << Localization::Text{"TfmDict_Types", "DBGrid", P::ColumnTitle, 1, kLoanColumnRu, kLoanColumnEn}
         << Localization::Text{"TfmDict_Types", "lbLoanDays", P::Caption, 0, kLoanBoxRu, kLoanBoxEn};
    return rows;
}
