#pragma once

#include "data/Query.h"
#include "reports/InventoryReport.h"
#include "widgets/Localization.h"
#include "widgets/Page.h"

#include <QList>
#include <QWidget>

class DbGrid;
class Navigator;
class QLabel;
class QLineEdit;
class QPushButton;
class QueryModel;
class WorkTypeBox;
class Session;
struct Platform;

// The tool register page, embedded in the main window: finds tools by code,
// type and work type over the shared tool result set, and opens the editor
// and the card on its current row.
class TfmTools : public QWidget, public Page
{
    Q_OBJECT
public:
    TfmTools(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Brought up from the left panel: work types reloaded, searched, saved
    // sort, columns as the settings show them.
    void pageShown() override;
    void Search();
    // Reads the list again as it is searched and sorted now, the remembered
    // tool current again; settings are left as they are.
    void refresh();
    int GetTableRecordCount(const QString& ATable);
    void ShowTableRecordCount();
    // Refills the work type choice; nothing is chosen afterwards.
    void LoadWorkTypes();
    // Applies the saved SortTools when it is a sort of the list; anything else is no sort.
    void applySavedSort();
    void SetColumnView();

    void btSearchClick();
    void cbWorkTypesChange();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    // Writes the inventory of every tool as an RTF file and opens it.
    void btInventClick();
    void DBGrid1DblClick();
    void DBGrid1TitleClick(int column);
    void btWorkTypesClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildGrid();
    void connectHandlers();
    void locateRemembered();
    void followAccessMode();

    Session& m_session;
    Query& m_tools;
    Navigator& m_navigator;
    Platform& m_platform;
    InventoryReport m_inventory;
    QueryModel* m_model = nullptr;

    // The row key of the tool that was current when the editor or the card
    // opened, found again when they close.
    qint64 m_rememberedToolKey = 0;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    WorkTypeBox* cbWorkTypes;
    QPushButton* btSearch;
    QLabel* lbRecordCount;
    int m_recordCount = 0; // the last count, rewritten in the language of the moment
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* btInvent;
    QPushButton* btWorkTypes;
    DbGrid* DBGrid1;
};

QList<Localization::Text> toolListTexts();
