#include "TfmUsers.h"

#include "HeldTools.h"
#include "RecipientSearch.h"
#include "core/DeskSelection.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kColumns[] = {"ID_User", "FIO", "Phone", "Organization", "Otdel", "Shef_FIO", "Shef_Phone"};
const int kWidths[] = {120, 160, 100, 150, 100, 160, 120};

} // namespace

TfmUsers::TfmUsers(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_users(session.qUsers)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmUsers"));
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    btSearch = named(new QPushButton(this), "btSearch");
    lbRecordCount = named(new QLabel(QStringLiteral("общее количество: 0"), this), "lbRecordCount");
    lbRecordCount->setVisible(session.settings().showRecordCount());
    Button1 = named(new QPushButton(this), "Button1");
    Button2 = named(new QPushButton(this), "Button2");
    Button3 = named(new QPushButton(this), "Button3");
    buildGrid();

    auto* top = new QHBoxLayout;
    top->addWidget(Edit1);
    top->addWidget(Edit2);
    top->addWidget(btSearch);
    top->addWidget(lbRecordCount);
    top->addStretch(1);
    top->addWidget(Button3);
    top->addWidget(Button2);
    top->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    connectHandlers();
    followAccessMode();
}

void TfmUsers::buildGrid()
{
    DBGrid1 = named(new DbGrid(this), "DBGrid1");
    m_model = new QueryModel(m_users, DBGrid1);
    QList<GridColumn> columns;
    for (const char* field : kColumns)
        columns.append({QLatin1String(field), {}, {}});
    m_model->setColumns(columns);
    DBGrid1->setQueryModel(m_model);
    for (int i = 0; i < m_model->columnCount(); ++i)
        DBGrid1->setColumnWidth(i, kWidths[i]);
    DBGrid1->setSpreadOnResize(true);
}

void TfmUsers::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btSearch, &QPushButton::clicked, this, d, [this] { btSearchClick(); });
    guardedConnect(Button1, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(Button2, &QPushButton::clicked, this, d, [this] { Button2Click(); });
    guardedConnect(Button3, &QPushButton::clicked, this, d, [this] { Button3Click(); });
    guardedConnect(DBGrid1, &DbGrid::rowDoubleClicked, this, d, [this] { DBGrid1DblClick(); });
    guardedConnect(DBGrid1, &DbGrid::titleClicked, this, d, [this](int column) { DBGrid1TitleClick(column); });
    reportErrorsOf(DBGrid1, &DbGrid::databaseError, this, d);

    connect(&m_session, &Session::accessModeChanged, this, &TfmUsers::followAccessMode);
    connect(&m_session.settings(), &Settings::showRecordCountChanged, lbRecordCount, &QLabel::setVisible);
}

void TfmUsers::followAccessMode()
{
    // Changing and deleting recipients is the administrator's.
    Button2->setEnabled(m_session.isAdministrator());
    Button3->setEnabled(m_session.isAdministrator());
}

void TfmUsers::pageShown()
{
    ShowTableRecordCount();
    DBGrid1->spreadColumns();
}

int TfmUsers::GetTableRecordCount(const QString& ATable)
{
    // Only the recipient table has these codes; a table name is never taken from outside.
    if (ATable.compare(u"Users", Qt::CaseInsensitive) != 0)
        return 0;
    const RecipientStatement s = recipientCountStatement(m_session.connection().dialect(), Edit1->text());
    return m_session.connection().scalar(s.sql, s.params).toInt();
}

void TfmUsers::ShowTableRecordCount()
{
    m_recordCount = GetTableRecordCount(QStringLiteral("Users"));
    lbRecordCount->setText(recordCountText(m_session.russian(), m_recordCount));
}

void TfmUsers::btSearchClick()
{
    m_users.setStatement(recipientSearchStatement(m_session.connection().dialect(), Edit1->text(), Edit2->text()));
    m_users.open();
}

void TfmUsers::DBGrid1TitleClick(int column)
{
    DBGrid1->toggleSort(column);
}

bool TfmUsers::hasCurrent() const
{
    return m_users.isOpen() && !m_users.isEmpty() && m_users.recNo() >= 0;
}

void TfmUsers::Button1Click()
{
    if (!m_users.isOpen())
        btSearchClick(); // a failed search left the list closed
    m_users.append();
    QFile picture(m_session.paths().recipientPicture);
    if (picture.open(QIODevice::ReadOnly))
        m_users.setValue(QStringLiteral("Photo"), picture.readAll());
    m_navigator.openRecipientEditor();
    ShowTableRecordCount();
    m_navigator.notifyRecipientsChanged();
}

void TfmUsers::Button2Click()
{
    if (!hasCurrent())
        return;
    m_users.edit();
    m_navigator.openRecipientEditor();
    ShowTableRecordCount();
    m_navigator.notifyRecipientsChanged();
}

void TfmUsers::refuseDelete(int heldTools)
{
    // Tools out with a deleted holder would name nobody: they come back first.
    m_platform.dialogs.message(this, m_session.texts().rsUserHoldsTools.arg(heldTools));
}

void TfmUsers::Button3Click()
{
    if (!hasCurrent())
        return;
    const QString key = QString::number(m_users.integer(QStringLiteral("ID")));
    if (const int held = heldToolCount(m_session.connection(), key); held > 0) {
        refuseDelete(held);
        return;
    }
    if (!m_platform.dialogs.confirm(this, m_session.texts().rsDellConfirm))
        return;
    deleteCurrent(key);
}

void TfmUsers::deleteCurrent(const QString& key)
{
    Connection& db = m_session.connection();
    int held = 0;
    {
        // Counted again with the delete: another desk may have issued a tool
        // since the question. No message while the write lock is held.
        Connection::Transaction transaction(db);
        held = heldToolCount(db, key);
        if (held == 0) {
            m_users.remove();
            transaction.commit();
        }
    }
    if (held > 0) {
        refuseDelete(held);
        return;
    }
    // The desk must not record an event for a recipient who is gone.
    DeskSelection& desk = m_session.desk();
    if (desk.recipientSelected() && QString::number(desk.qSearch_U.integer(QStringLiteral("ID"))) == key)
        desk.clearRecipient();
    ShowTableRecordCount();
    m_navigator.notifyRecipientsChanged();
}

void TfmUsers::DBGrid1DblClick()
{
    if (!hasCurrent())
        return;
    m_navigator.openRecipientCard();
}

bool TfmUsers::eventFilter(QObject* watched, QEvent* event)
{
    // The search runs when Enter is released in either box.
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(m_platform.dialogs, this, [this] { btSearchClick(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfmUsers::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    Edit1->setAccessibleName(Edit1->placeholderText());
    Edit2->setAccessibleName(Edit2->placeholderText());
    DBGrid1->setAccessibleName(windowTitle());
    // A list in view counts anew; a hidden one, the tool list at every start
    // among them, shows its last count in the new language until it is shown.
    if (isVisibleTo(window()))
        runGuarded(m_platform.dialogs, this, [this] { ShowTableRecordCount(); });
    else
        lbRecordCount->setText(recordCountText(m_session.russian(), m_recordCount));
}

QList<Localization::Text> recipientListTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmUsers", "", P::Title, 0, "Получатели", "Users"},
        {"TfmUsers", "Edit1", P::Hint, 0, "ID получателя", "ID user"},
        {"TfmUsers", "Edit2", P::Hint, 0, "ФИО получателя", "Name"},
        {"TfmUsers", "btSearch", P::Caption, 0, "Поиск", "Search"},
        {"TfmUsers", "Button1", P::Caption, 0, "Добавить", "New"},
        {"TfmUsers", "Button2", P::Caption, 0, "Изменить", "Edit"},
        {"TfmUsers", "Button3", P::Caption, 0, "Удалить", "Delete"},
    };
    const char* titles[][2] = {{"ID получателя", "ID user"},
                               {"ФИО", "Name"},
                               {"Телефон", "Phone number"},
                               {"Организация", "Company"},
                               {"Отдел", "Department"},
                               {"ФИО руководителя", "Supervisor"},
                               {"Тел. руководителя", "Supervisor phone"}};
    for (int i = 0; i < 7; ++i)
        rows.append({"TfmUsers", "DBGrid1", P::ColumnTitle, i, titles[i][0], titles[i][1]});
    return rows;
}
