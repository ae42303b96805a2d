#pragma once

#include "config/Localization.h"
#include "data/Query.h"

#include <QDialog>

class DbGrid;
class QLineEdit;
class QPushButton;
class QToolButton;
class QueryModel;
struct Forms;
struct Platform;

// Manual issue: the administrator picks a recipient and issues the tool of
// the open tool card to them through the desk's recording.
class TfmHend : public QDialog
{
    Q_OBJECT
public:
    TfmHend(Forms& forms, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    // Every showing lists the recipients as they are now.
    // Shows the window modally after its show-time work.
    void execute();
    void FormShow();

    void DBGrid1CellClick();
    void btClearClick();
    void btGoClick();

    // All recipients.
    ::Query Query;

    QLineEdit* edID;
    QToolButton* btClear;
    QPushButton* btGo;
    DbGrid* DBGrid1;

protected:
    void changeEvent(QEvent* event) override;

private:
    void reloadList();

    Forms& m_forms;
    Platform& m_platform;
    QueryModel* m_model;
    bool m_loading = false; // the list is being (re)loaded: its first row is no choice
};

QList<Localization::Text> manualIssueTexts();
