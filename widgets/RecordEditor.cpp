#include "RecordEditor.h"

#include "DialogButtons.h"
#include "PictureFile.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "platform/Dialogs.h"

#include <QPushButton>

RecordEditor::RecordEditor(Dialogs& dialogs, Query& record, const char* name, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_record(record)
{
    setObjectName(QLatin1String(name));
    setModal(true);
}

void RecordEditor::execute()
{
    FormShow();
    m_dialogs.showModal(*this);
}

void RecordEditor::done(int result)
{
    // Every close without a save discards what was typed.
    if (!OK)
        m_record.cancel();
    QDialog::done(result);
}

void RecordEditor::layOut(QLayout* body, const char* cancelName)
{
    const DialogButtons buttons = layOutWithOkCancel(this, body, cancelName);
    m_okButton = buttons.ok;
    m_cancelButton = buttons.cancel;
}

bool RecordEditor::refusedBy(const char* check, const QString& message, const std::function<bool()>& taken)
{
    bool found = false;
    try {
        found = taken();
    } catch (const DbError& e) {
        m_dialogs.error(this, QLatin1String(check) + QStringLiteral(": ") + e.text());
        return false;
    }
    if (found)
        m_dialogs.message(this, message);
    return found;
}

QVariant RecordEditor::ownKey() const
{
    return m_record.state() == Query::State::Edit ? m_record.value(QStringLiteral("ID")) : QVariant();
}

QString RecordEditor::choosePhoto(bool russian)
{
    const QString path = m_dialogs.openPicture(this);
    if (path.isEmpty())
        return {};
    const LoadedPicture picture = loadPicture(path);
    if (!picture.ok()) {
        m_dialogs.error(this, picture.message(russian));
        return {};
    }
    if (m_record.state() == Query::State::Browse)
        return {};
    m_record.setValue(QStringLiteral("Photo"), storedPhoto(picture.image));
    return path;
}
