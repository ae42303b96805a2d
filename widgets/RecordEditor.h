#pragma once

#include <QDialog>
#include <QVariant>

#include <functional>

class Dialogs;
class QLayout;
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

    // The row was saved in this showing.
    bool OK = false;

protected:
    RecordEditor(Dialogs& dialogs, Query& record, const char* name, QWidget* parent);

    // body over the buttons "btOK" and the cancel button, which closes.
    void layOut(QLayout* body, const char* cancelName);
    // True, after message, when taken finds the value in use. A database
    // failure is shown under the check's name and lets the save go on.
    bool refusedBy(const char* check, const QString& message, const std::function<bool()>& taken);
    // The row being edited, which is never a duplicate of itself.
    QVariant ownKey() const;
    // Asks for a picture and stores it as the row's photo; the picture's
    // file, or empty when none was stored.
    QString choosePhoto(bool russian);

    Dialogs& m_dialogs;
    Query& m_record;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
