#pragma once

#include "data/Query.h"
#include "reports/InventoryReport.h"
#include "widgets/Localization.h"
#include "widgets/RegisterPage.h"

#include <QList>

class Navigator;
class WorkTypeBox;
class Session;
struct Platform;

// The tool register page, embedded in the main window: finds tools by code,
// type and work type over the shared tool result set, and opens the editor
// and the card on its current row.
class TfmTools : public RegisterPage
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
    // Refills the work type choice; nothing is chosen afterwards.
    void LoadWorkTypes();
    // Applies the saved SortTools when it is a sort of the list; anything else is no sort.
    void applySavedSort();
    void SetColumnView();

    void btSearchClick() override;
    void cbWorkTypesChange();
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
    // Writes the inventory of every tool as an RTF file and opens it.
    void btInventClick();
    void DBGrid1DblClick() override;
    void DBGrid1TitleClick(int column) override;
    void btWorkTypesClick();
    // Labels of the current tool, of every tool listed or of typed codes.
    void btLabelsClick();
    // The list as searched, sorted and shown, to an Excel or CSV file.
    void btExportClick();
    // Tools from a CSV or XLSX file (administrator).
    void btImportClick();

protected:
    int countMatches() override;
    QString recordCountText(int count) const override;
    void languageChanged() override;

private:
    void buildGrid();
    void connectHandlers();
    void locateRemembered();
    void followAccessMode();

    Session& m_session;
    InventoryReport m_inventory;
    Query& m_tools;
    Navigator& m_navigator;

    // The row key of the tool that was current when the editor or the card
    // opened, found again when they close.
    qint64 m_rememberedToolKey = 0;

    WorkTypeBox* cbWorkTypes;
    QPushButton* btInvent;
    QPushButton* btWorkTypes;
    QPushButton* btLabels;
    QPushButton* btExport;
    QPushButton* btImport;
};

QList<Localization::Text> toolListTexts();
