#include "RecordEditor.h"

#include "DialogButtons.h"
#include "PictureFile.h"
#include "data/CodeRegistry.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

RecordEditor::RecordEditor(Dialogs& dialogs, Query& record, Register own, const char* name, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_record(record)
    , m_own(own)
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

void RecordEditor::noteCode(const QString& field)
{
    m_codeField = field;
    m_codeBefore = m_record.state() == Query::State::Edit ? m_record.text(field).trimmed() : QString();
}

std::optional<QString> RecordEditor::checkedCode(const QLineEdit* box, const std::function<QString()>& generated)
{
    if (box->text().trimmed().isEmpty())
        m_record.setValue(m_codeField, generated());
    // Stored as the desk will look it up: without blanks around it.
    const QString code = box->text().trimmed();
    const bool kept = m_record.state() == Query::State::Edit && code == m_codeBefore;
    if (!kept && (InTool_IDList(code) || InUser_IDList(code)))
        return std::nullopt;
    const QString refusal = codeRefusal(code, m_codeBefore);
    if (!refusal.isEmpty()) {
        m_dialogs.message(this, refusal);
        return std::nullopt;
    }
    return code;
}

bool RecordEditor::InTool_IDList(const QString& ID)
{
    const QVariant except = m_own == Register::Tools ? ownKey() : QVariant();
    return refusedBy("InTool_IDList", codeTakenText(Register::Tools),
                     [&] { return CodeRegistry(m_record.connection()).toolCodeTaken(ID, except); });
}

bool RecordEditor::InUser_IDList(const QString& ID)
{
    const QVariant except = m_own == Register::Recipients ? ownKey() : QVariant();
    return refusedBy("InUser_IDList", codeTakenText(Register::Recipients),
                     [&] { return CodeRegistry(m_record.connection()).recipientCodeTaken(ID, except); });
}

QVariant RecordEditor::ownKey() const
{
    return m_record.state() == Query::State::Edit ? m_record.value(col::Key) : QVariant();
}

QString RecordEditor::choosePhoto(bool russian, const QString& filter, QString& folder)
{
    const QString path = m_dialogs.openPicture(this, filter, folder);
    if (path.isEmpty())
        return {};
    folder = QFileInfo(path).absolutePath();
    const LoadedPicture picture = loadPicture(path);
    if (!picture.ok()) {
        m_dialogs.error(this, picture.message(russian));
        return {};
    }
    if (m_record.state() == Query::State::Browse)
        return {};
    m_record.setValue(col::Photo, storedPhoto(picture.image));
    return path;
}
