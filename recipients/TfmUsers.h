#pragma once

#include "widgets/Localization.h"
#include "widgets/Page.h"

#include <QList>
#include <QWidget>

class DbGrid;
class Navigator;
class QLabel;
class QLineEdit;
class QPushButton;
class Query;
class QueryModel;
class Session;
struct Platform;

// The recipient register page, embedded in the main window: finds
// recipients by code and name over the shared recipient result set, and
// opens the editor and the card on its current row.
class TfmUsers : public QWidget, public Page
{
    Q_OBJECT
public:
    TfmUsers(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Brought up from the left panel: the count refreshed; the list shows
    // what the last search found.
    void pageShown() override;
    int GetTableRecordCount(const QString& ATable);
    void ShowTableRecordCount();

    void btSearchClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void DBGrid1DblClick();
    void DBGrid1TitleClick(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildGrid();
    void connectHandlers();
    void followAccessMode();
    bool hasCurrent() const;
    void refuseDelete(int heldTools);
    void deleteCurrent(const QString& key);

    Session& m_session;
    Query& m_users;
    Navigator& m_navigator;
    Platform& m_platform;
    QueryModel* m_model = nullptr;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* btSearch;
    QLabel* lbRecordCount;
    int m_recordCount = 0; // the last count, rewritten in the language of the moment
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    DbGrid* DBGrid1;
};

QList<Localization::Text> recipientListTexts();
