#pragma once

#include "data/Query.h"
#include "widgets/Localization.h"

#include <QDialog>

class DbGrid;
class QLineEdit;
class QPushButton;
class QToolButton;
class QueryModel;
class Session;
struct Platform;

// Manual issue: the administrator picks a recipient and issues a tool (the
// open tool card's) to them through the desk's recording.
class TfmHend : public QDialog
{
    Q_OBJECT
public:
    TfmHend(Session& session, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    // Shows the window modally for the tool with this code, with an empty
    // recipient box, after its show-time work.
    void execute(const QString& toolCode);
    // Every showing lists the recipients as they are now.
    void FormShow();

    void DBGrid1CellClick();
    void btClearClick();
    void btGoClick();

    // All recipients.
    ::Query Query;
    // The code of the tool to issue.
    QString toolCode;

protected:
    void changeEvent(QEvent* event) override;

private:
    void reloadList();
    bool toolWrittenOff() const;

    Session& m_session;
    Platform& m_platform;
    QLineEdit* edID;
    QToolButton* btClear;
    QPushButton* btGo;
    DbGrid* m_recipientGrid;
    QueryModel* m_model;
    bool m_loading = false; // the list is being (re)loaded: its first row is no choice
};

QList<Localization::Text> manualIssueTexts();
