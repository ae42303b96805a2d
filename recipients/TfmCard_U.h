#pragma once

#include "data/Query.h"
#include "reports/OnHandStatement.h"
#include "widgets/Localization.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QSet>

class DbGrid;
class DbImage;
class DbText;
class Navigator;
class QLabel;
class QPushButton;
class QTabWidget;
class QueryModel;
class Session;
struct Platform;

// The recipient card: one recipient's details and photo, their journal, the
// tools on hand with their total price, and the operator's return of a tool
// on hand.
class TfmCard_U : public QDialog
{
    Q_OBJECT
public:
    TfmCard_U(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Shows the card of the recipient list's current recipient modally after
    // loading it.
    void execute();
    // Takes the recipient list's current recipient: the journal, the tools
    // on hand and their total. Throws DbError.
    void loadCurrentRecipient();
    void FormShow();

    // The total price of the tools on hand into lbSUM. Throws DbError.
    void showTotal();
    // The latest day the tool was issued to the recipient; 1 January 1990
    // when the journal shows none. A failure is shown and what was found
    // so far is the answer.
    QDateTime GetLastIssuedDate(const QString& ATool_ID, const QString& AUser_ID);
    // Fills in the issue date of every tool on hand that has none from
    // before 2000. Throws DbError.
    void Calc_Issued_Date();

    void btReturn_ToolClick();
    // Writes the statement of tools on hand as an RTF file and opens it.
    void Button1Click();
    void PageControl1Change(int index);
    void DBGrid1TitleClick(int column);
    void DBGrid2TitleClick(int column);

    // The recipient's journal and tools on hand.
    Query q;
    Query q2;
    OnHandStatement statement;

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildDetails(QLayout* into);
    void buildPages();
    void connectHandlers();
    // Both lists for the recipient shown; the sort marks start afresh.
    void reloadLists();
    // True when the tool was taken back; the lists reloaded either way.
    bool returnCurrentTool();
    static void toggleMarkedSort(Query& query, QueryModel& model, QSet<QString>& marked, int column);

    Session& m_session;
    Navigator& m_navigator;
    Platform& m_platform;
    // Who the card shows: code and row key, taken when it opens.
    QString m_userCode;
    QString m_userKey;
    QueryModel* m_journalModel;
    QueryModel* m_toolsModel;
    // Fields whose last title click sorted them ascending.
    QSet<QString> m_journalMarks;
    QSet<QString> m_toolMarks;

    QList<QLabel*> captions; // Label1..Label7
    QList<DbText*> values;   // DBText1..DBText7
    DbImage* DBImage1;
    QLabel* Label8;
    QLabel* lbSUM;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    DbGrid* DBGrid1;
    DbGrid* DBGrid2;
    QPushButton* Button1;
    QPushButton* btReturn_Tool;
};

QList<Localization::Text> recipientCardTexts();
