#pragma once

#include "widgets/Localization.h"

#include <QDialog>

class DbEdit;
class Navigator;
class QLabel;
class QPushButton;
class Query;
class Session;
struct Platform;

// The name of one work type, on the current row of the session's work
// types, which the caller has put into insert or edit state.
class TfmWorkTypes_Editor : public QDialog
{
    Q_OBJECT
public:
    TfmWorkTypes_Editor(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // The window it opens over, where the storekeeper is looking.
    void setAnchor(QWidget* window) { m_anchor = window; }
    // Shows the editor modally; an insert or edit left open is cancelled.
    void execute();

    void btOKClick();
    void btCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Query& m_workTypes;
    Navigator& m_navigator;
    Platform& m_platform;
    QWidget* m_anchor = nullptr;

    QLabel* m_nameCaption;
    DbEdit* m_nameBox;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};

QList<Localization::Text> workTypeEditorTexts();
