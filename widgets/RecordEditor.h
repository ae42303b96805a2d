#pragma once

#include <QDialog>
#include <QVariant>

#include <functional>
#include <optional>

class Dialogs;
class QLayout;
class QLineEdit;
class QPushButton;
class Query;

// An editor of a register's current row, which the register has put into
// insert or edit state: OK checks and saves, any other close discards.
class RecordEditor : public QDialog
{
    Q_OBJECT
public:
    // Shows the editor modally on the row.
    void execute();
    // Takes the row's state as the editor opens.
    virtual void FormShow() = 0;

    void done(int result) override;

    // True, after the message, when a tool or a recipient has the code,
    // letter case ignored as the desk ignores it. The row being edited is
    // excepted in its own register.
    bool InTool_IDList(const QString& ID);
    bool InUser_IDList(const QString& ID);

    // The row was saved in this showing.
    bool OK = false;

protected:
    // Whose codes the edited rows are: a tool's or a recipient's.
    enum class Register { Tools, Recipients };

    RecordEditor(Dialogs& dialogs, Query& record, Register own, const char* name, QWidget* parent);

    // The message for a code a tool, or else a recipient, has already.
    virtual QString codeTakenText(Register holder) const = 0;
    // The message refusing code for a reason of the editor's own, or an
    // empty text; before is the code the row had when noted.
    virtual QString codeRefusal(const QString& code, const QString& before) const = 0;

    // body over the buttons "btOK" and the cancel button, which closes.
    void layOut(QLayout* body, const char* cancelName);
    // True, after message, when taken finds the value in use. A database
    // failure is shown under the check's name and lets the save go on.
    bool refusedBy(const char* check, const QString& message, const std::function<bool()>& taken);
    // Notes the code the row has in field as the editor opens on it.
    void noteCode(const QString& field);
    // The code to save: the box's text without blanks around it, the one
    // generated when the box is blank. None, after the message, when a tool
    // or a recipient has it and the row did not have it when noted, or when
    // codeRefusal refuses it.
    std::optional<QString> checkedCode(const QLineEdit* box, const std::function<QString()>& generated);
    // The row being edited, which is never a duplicate of itself.
    QVariant ownKey() const;
    // Asks for a picture and stores it as the row's photo; the picture's
    // file, or empty when none was stored.
    QString choosePhoto(bool russian, const QString& filter, QString& folder);

    Dialogs& m_dialogs;
    Query& m_record;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

private:
    Register m_own;
    QString m_codeField;
    QString m_codeBefore; // trimmed; empty for a new row
};
