#include "TfmWorkTypes_Editor.h"

#include "core/Navigator.h"
#include "core/Session.h"
#include "data/Columns.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DbEdit.h"
#include "widgets/DialogButtons.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kNameSize = 255; // AField is CHAR(255)
}

TfmWorkTypes_Editor::TfmWorkTypes_Editor(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_workTypes(session.qWorkTypes)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmWorkTypes_Editor"));
    setModal(true);
    m_nameCaption = named(new QLabel(this), "Label1");
    m_nameBox = named(new DbEdit(m_workTypes, col::Dictionary::AField, this), "DBEdit1");
    m_nameBox->setMaxLength(kNameSize);
    m_nameBox->setMinimumWidth(320);
    m_nameCaption->setBuddy(m_nameBox);
    auto* body = new QVBoxLayout;
    body->addWidget(m_nameCaption);
    body->addWidget(m_nameBox);
    const DialogButtons buttons = layOutWithOkCancel(this, body, "btCancel");
    m_okButton = buttons.ok;
    m_cancelButton = buttons.cancel;

    Dialogs& d = m_platform.dialogs;
    guardedConnect(m_okButton, &QPushButton::clicked, this, d, [this] { btOKClick(); });
    guardedConnect(m_cancelButton, &QPushButton::clicked, this, d, [this] { btCancelClick(); });
}

void TfmWorkTypes_Editor::execute()
{
    m_platform.dialogs.showModal(*this);
    // Closed without OK or Cancel (Esc): nothing half-made stays behind.
    if (m_workTypes.state() != Query::State::Browse)
        m_workTypes.cancel();
}

void TfmWorkTypes_Editor::btOKClick()
{
    if (m_workTypes.state() != Query::State::Browse)
        m_workTypes.post(); // a failure keeps the editor open with the typed name
    accept();
    m_navigator.notifyWorkTypesChanged();
}

void TfmWorkTypes_Editor::btCancelClick()
{
    if (m_workTypes.state() != Query::State::Browse)
        m_workTypes.cancel();
    reject();
}

void TfmWorkTypes_Editor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_anchor && m_anchor->isVisible()) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_anchor->frameGeometry().center());
        move(frame.topLeft());
    }
    m_nameBox->setFocus();
}

QList<Localization::Text> workTypeEditorTexts()
{
    using P = Localization::Property;
    return {
        {"TfmWorkTypes_Editor", "", P::Title, 0, "Редактор вида работ", "Type of work editod"},
        {"TfmWorkTypes_Editor", "Label1", P::Caption, 0, "Вид работ:", "Type of work:"},
        {"TfmWorkTypes_Editor", "btOK", P::Caption, 0, "ОК", "OK"},
        {"TfmWorkTypes_Editor", "btCancel", P::Caption, 0, "Отмена", "Cancel"},
    };
}
