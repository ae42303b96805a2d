#pragma once

#include "data/Query.h"
#include "reports/OnHandStatement.h"
#include "widgets/Localization.h"
#include "widgets/RecordCard.h"
#include "widgets/TitleSort.h"

#include <QDate>

class DbGrid;
class Navigator;
class QueryModel;
class QLabel;
class ValueLabel;
class QVBoxLayout;
class Session;
struct Platform;

// The recipient card: one recipient's details and photo, their journal, the
// tools on hand with their total price, and the operator's return of a tool
// on hand.
class TfmCard_U : public RecordCard
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
    // This worker's badge.
    void btLabelClick();
    // Writes the statement of tools on hand as an RTF file and opens it.
    void Button1Click();
    void PageControl1Change(int index);
    void DBGrid1TitleClick(int column);
    void DBGrid2TitleClick(int column);

    // The recipient's tools on hand; the journal is q.
    Query q2;
    OnHandStatement statement;

protected:
    void languageChanged() override;

private:
    void buildDetails(QVBoxLayout* into);
    void buildLists();
    void showJournalToolColumns();
    void connectHandlers();
    // Both lists for the recipient shown; the sort marks start afresh.
    void reloadLists();
    // True when the tool was taken back; the lists reloaded either way.
    bool returnCurrentTool();

    Session& m_session;
    Navigator& m_navigator;
    // Who the card shows: code and row key, taken when it opens.
    QString m_userCode;
    QString m_userKey;
    QueryModel* m_journalModel;
    QueryModel* m_toolsModel;
    TitleSort m_journalSort;
    TitleSort m_toolSort;

    QLabel* m_totalCaption;
    ValueLabel* lbSUM;
    // The pages are the journal and the tools on hand.
    DbGrid* m_journalGrid;
    DbGrid* m_toolsGrid;
    QPushButton* m_statementButton;
    QPushButton* btReturn_Tool;
    QPushButton* btLabel;
};

QList<Localization::Text> recipientCardTexts();
