#pragma once

#include "widgets/Localization.h"
#include "widgets/RecordEditor.h"

#include <QList>

class DbEdit;
class DbImage;
class QLabel;
class QToolButton;
class Session;
struct Platform;

// The recipient editor: the fields of the recipient list's current row,
// which the list has put into insert or edit state. OK checks the code and
// saves; any other close discards.
class TfmEditor_U : public RecordEditor
{
    Q_OBJECT
public:
    TfmEditor_U(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Takes the row's state: the code it had when editing began.
    void FormShow() override;

    void btOKClick();
    void btCancelClick();
    void SpeedButton1Click();

    // True, after the message, when a tool or another recipient has the
    // code, letter case ignored as the desk ignores it.
    QString GetMaxUserID();

protected:
    void changeEvent(QEvent* event) override;
    QString codeTakenText(Register holder) const override;
    QString codeRefusal(const QString& code, const QString& before) const override;

private:
    void buildFields();
    void connectHandlers();

    Session& m_session;
    Query& m_users;
    Platform& m_platform;

    QList<QLabel*> labels; // Label1..Label7
    QList<DbEdit*> edits;  // DBEdit1..DBEdit7
    DbImage* m_photo;
    QToolButton* m_photoButton;
};

QList<Localization::Text> recipientEditorTexts();
