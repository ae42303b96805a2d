#include "TfmEditor_U.h"

#include "RecipientCaptions.h"
#include "data/Columns.h"

#include "core/FileChoices.h"
#include "core/PlaceLabelCode.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbEdit.h"
#include "widgets/DbImage.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QStringList kFields = {col::Users::ID_User, col::Users::FIO,      col::Users::Phone,     col::Users::Organization,
                             col::Users::Otdel,   col::Users::Shef_FIO, col::Users::Shef_Phone};

} // namespace

TfmEditor_U::TfmEditor_U(Session& session, Platform& platform, QWidget* parent)
    : RecordEditor(platform.dialogs, session.qUsers, Register::Recipients, "TfmEditor_U", parent)
    , m_session(session)
    , m_users(session.qUsers)
    , m_platform(platform)
{
    buildFields();
    connectHandlers();
}

void TfmEditor_U::buildFields()
{
    auto* fields = new QGridLayout;
    for (const QString& field : kFields) {
        const int r = static_cast<int>(edits.size());
        auto* edit = new DbEdit(m_users, field, this);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(r + 1));
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(r + 1));
        label->setBuddy(edit);
        fields->addWidget(label, r, 0);
        fields->addWidget(edit, r, 1);
        labels << label;
        edits << edit;
    }
    edits.first()->setMaxLength(16); // the code column's width, as the desk's entry box
    fields->setColumnMinimumWidth(1, 260);

    m_photo = named(new DbImage(m_users, col::Users::Photo, QSize(129, 156), this), "JvDBImage1");
    m_photoButton = named(new QToolButton(this), "SpeedButton1");
    auto* photo = new QVBoxLayout;
    photo->addWidget(m_photo);
    photo->addWidget(m_photoButton);
    photo->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(fields, 1);
    body->addLayout(photo);
    layOut(body, "btCancel");
}

void TfmEditor_U::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(m_okButton, &QPushButton::clicked, this, d, [this] { btOKClick(); });
    guardedConnect(m_cancelButton, &QPushButton::clicked, this, d, [this] { btCancelClick(); });
    guardedConnect(m_photoButton, &QToolButton::clicked, this, d, [this] { SpeedButton1Click(); });
}

void TfmEditor_U::FormShow()
{
    OK = false;
    noteCode(col::Users::ID_User);
    edits.first()->setFocus();
}

QString TfmEditor_U::GetMaxUserID()
{
    const QVariant max = m_session.connection().largest(Select(col::Users::Table), col::Key);
    return max.isNull() || !max.isValid() ? QString() : max.toString();
}

// A code that a place label's could be taken for.
QString TfmEditor_U::codeRefusal(const QString& code, const QString& before) const
{
    return placeLabelCodeRefusal(code, before, m_session.settings().placeLabelPrefix(), m_session.texts());
}

QString TfmEditor_U::codeTakenText(Register holder) const
{
    return holder == Register::Tools ? m_session.texts().rsToolIDTaken : m_session.texts().rsUserIDTaken;
}

void TfmEditor_U::btOKClick()
{
    Query& u = m_users;
    if (u.state() == Query::State::Browse)
        return;
    // A blank code is made from the highest key and "002": the tool editor's
    // "001" keeps generated tool and recipient codes apart.
    const std::optional<QString> code = checkedCode(edits.first(),
                                                    [this] { return GetMaxUserID() + QStringLiteral("002"); });
    if (!code)
        return;
    if (u.text(col::Users::ID_User) != *code)
        u.setValue(col::Users::ID_User, *code);
    u.post();
    OK = true;
    accept();
}

void TfmEditor_U::btCancelClick()
{
    reject();
}

void TfmEditor_U::SpeedButton1Click()
{
    FileChoices files(m_session);
    QString folder = files.folder(FileChoices::Kind::Picture);
    choosePhoto(m_session.russian(), files.pictureFilter(), folder);
    files.rememberFolder(FileChoices::Kind::Picture, folder);
}

void TfmEditor_U::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_photo->setAccessibleName(windowTitle());
}

QList<Localization::Text> recipientEditorTexts()
{
    using P = Localization::Property;
    QList<Localization::Text> rows = {
        {"TfmEditor_U", "", P::Title, 0, "Редактор записей (пользователь)", "Record Editor (user)"}};
    rows += recipientCaptionTexts("TfmEditor_U");
    rows += {
        {"TfmEditor_U", "SpeedButton1", P::Caption, 0, "Открыть...", "Open..."},
        {"TfmEditor_U", "btOK", P::Caption, 0, "ОК", "OK"},
        {"TfmEditor_U", "btCancel", P::Caption, 0, "Отмена", "Cancel"},
    };
    return rows;
}
