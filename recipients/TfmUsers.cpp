#include "TfmUsers.h"

#include "HeldTools.h"
#include "core/DeskSelection.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/RecipientSearch.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "data/RegisterColumns.h"
#include "export/RegisterExportAction.h"
#include "export/RegisterTables.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/QueryGrid.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QStringList gridFields()
{
    QStringList fields;
    for (const RegisterColumn& c : recipientRegisterColumns())
        fields << c.field;
    return fields;
}

const QList<int> kWidths = {120, 160, 100, 150, 100, 160, 120};

} // namespace

TfmUsers::TfmUsers(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : RegisterPage(platform, "Users", parent)
    , m_session(session)
    , m_users(session.qUsers)
    , m_navigator(navigator)
{
    setObjectName(QStringLiteral("TfmUsers"));
    buildSearchBoxes(this);
    // The recipient list searches as Enter comes up; the tool list as it goes down.
    searchOnEnter(QEvent::KeyRelease, [this] { btSearchClick(); });
    buildRegisterControls();
    m_countLabel->setVisible(session.settings().showRecordCount());
    m_grid = queryGrid(this, "DBGrid1", m_users, plainColumns(gridFields()), kWidths);
    btLabels = named(new QPushButton(this), "btLabels");
    btExport = named(new QPushButton(this), "btExport");
    btImport = named(new QPushButton(this), "btImport");

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btLabels);
    bottom->addWidget(btExport);
    bottom->addWidget(btImport);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(registerBar());
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    connectRegister();
    guardedConnect(btLabels, &QPushButton::clicked, this, m_platform.dialogs, [this] { btLabelsClick(); });
    guardedConnect(btExport, &QPushButton::clicked, this, m_platform.dialogs, [this] { btExportClick(); });
    guardedConnect(btImport, &QPushButton::clicked, this, m_platform.dialogs, [this] { btImportClick(); });
    connect(&m_session, &Session::accessModeChanged, this, &TfmUsers::followAccessMode);
    connect(&m_session.settings(), &Settings::showRecordCountChanged, m_countLabel, &QLabel::setVisible);
    connect(&m_navigator, &Navigator::recipientsChanged, this, &TfmUsers::countMayHaveChanged);
    connect(&m_navigator, &Navigator::otherDesksChanged, this, &TfmUsers::countMayHaveChanged);
    followAccessMode();
}

void TfmUsers::followAccessMode()
{
    // Changing and deleting recipients is the administrator's.
    allowChanges(m_session.isAdministrator());
    btImport->setEnabled(m_session.isAdministrator());
}

void TfmUsers::btImportClick()
{
    if (!m_session.isAdministrator())
        return;
    m_navigator.openImport(ImportKind::Recipients);
    // Workers added or changed behind the list: it shows them as stored now,
    // searched as before and in its order.
    const QString sort = m_users.sort();
    btSearchClick();
    if (!sort.isEmpty())
        m_users.setSort(sort);
    ShowTableRecordCount();
}

void TfmUsers::pageShown()
{
    showRecordCountIfChanged();
    m_grid->spreadColumns();
}

int TfmUsers::countMatches()
{
    Connection& db = m_session.connection();
    return int(db.count(recipientCountStatement(db.dialect(), m_codeBox->text())));
}

QString TfmUsers::recordCountText(int count) const
{
    return ::recordCountText(m_session.russian(), count);
}

void TfmUsers::btSearchClick()
{
    m_users.setStatement(
        recipientSearchStatement(m_session.connection().dialect(), m_codeBox->text(), m_textBox->text()));
    m_users.open();
}

void TfmUsers::DBGrid1TitleClick(int column)
{
    m_grid->toggleSort(column);
}

void TfmUsers::btLabelsClick()
{
    if (!m_users.isOpen())
        btSearchClick();
    const QString chosen = hasCurrent() ? m_users.text(col::Users::ID_User).trimmed() : QString();
    const qint64 key = hasCurrent() ? m_users.integer(col::Key) : 0;
    m_navigator.openLabels(LabelKind::Recipients, chosen, [this] { return listedTexts(m_users, col::Users::ID_User); });
    m_users.locate(col::Key, key); // the worker chosen before stays chosen
}

void TfmUsers::btExportClick()
{
    if (!m_users.isOpen())
        btSearchClick();
    // The statement and order the grid pages by: the file lists what the grid does.
    exportRegister(
        this, m_session, m_platform,
        recipientRegisterTable(m_session.connection(), *m_users.statement(), m_users.pageOrder(), m_session.russian()));
}

bool TfmUsers::hasCurrent() const
{
    return m_users.isOpen() && !m_users.isEmpty() && m_users.recNo() >= 0;
}

void TfmUsers::openEditor()
{
    m_navigator.openRecipientEditor();
    ShowTableRecordCount();
    m_navigator.notifyRecipientsChanged();
}

void TfmUsers::Button1Click()
{
    if (!m_users.isOpen())
        btSearchClick(); // a failed search left the list closed
    m_users.append();
    QFile picture(m_session.paths().recipientPicture);
    if (picture.open(QIODevice::ReadOnly))
        m_users.setValue(col::Users::Photo, picture.readAll());
    openEditor();
}

void TfmUsers::Button2Click()
{
    if (!hasCurrent())
        return;
    m_users.edit();
    openEditor();
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
    const QString key = QString::number(m_users.integer(col::Key));
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
    if (desk.recipientSelected() && QString::number(desk.qSearch_U.integer(col::Key)) == key)
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

QList<Localization::Text> recipientListTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {{"TfmUsers", "", P::Title, 0, "Получатели", "Users"}};
    rows += TfmUsers::searchTexts("TfmUsers", "ID получателя", "ID user", "ФИО получателя", "Name");
    rows += TfmUsers::rowButtonTexts("TfmUsers");
    rows += {{"TfmUsers", "btLabels", P::Caption, 0, "Пропуска", "Badges"},
             {"TfmUsers", "btLabels", P::ToolTip, 0, "Пропуска выбранного получателя, всего списка или введенных кодов",
              "Badges of the chosen worker, of every worker listed or of typed codes"},
             {"TfmUsers", "btExport", P::Caption, 0, "Экспорт...", "Export..."},
             {"TfmUsers", "btExport", P::ToolTip, 0, "Список, как он показан, в файл Excel или CSV",
              "The list as shown, to an Excel or CSV file"},
             {"TfmUsers", "btImport", P::Caption, 0, "Импорт...", "Import..."},
             {"TfmUsers", "btImport", P::ToolTip, 0, "Добавить или обновить получателей из файла CSV или XLSX",
              "Add or update workers from a CSV or XLSX file"}};
    int column = 0;
    for (const RegisterColumn& c : recipientRegisterColumns())
        rows.append({"TfmUsers", "DBGrid1", P::ColumnTitle, column++, c.ru, c.en});
    return rows;
}
