#pragma once

#include "data/Query.h"
#include "widgets/Localization.h"

#include <QDialog>

class DbGrid;
class Navigator;
class QLineEdit;
class QPushButton;
class QSplitter;
class QueryModel;
class Session;
struct Platform;

// The work types window, open beside the main window: work types (named
// sets of tools) with their tools, and all tools to pick from. It shows the
// session's work type rows; the tools listed are those of its current row.
class TfmWorkTypes : public QDialog
{
    Q_OBJECT
public:
    TfmWorkTypes(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Answer of GetUniqueID for a code no tool has.
    static constexpr const char* NoData = "NO_DATA";

    void FormCreate();
    // The identity of the first tool with this code (letter case ignored,
    // written-off tools too), or NoData.
    QString GetUniqueID(const QString& AToolID);
    // Adds the identity to the current work type's tools, once.
    void AddToRange(const QString& AToolID);
    // Removes the identity from the current work type's tools.
    void DellFromRange(const QString& AToolID);
    // Lists the current work type's tools.
    void LoadTools();

    void btAddClick();
    void btEditClick();
    void btDeleteClick();
    void btAdd_toolClick();
    void btDell_ToolClick();
    void Grid_All_ToolsCellClick();

    // The current work type's tools, and every tool to pick from.
    ::Query qTools_as_Work;
    ::Query qAllTools;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildGrids();
    void buildLayout();
    void connectHandlers();
    bool hasCurrentWorkType() const;
    // The current work type's stored list, read again from its row.
    QString currentStoredList();
    void storeList(const QString& stored);

    Session& m_session;
    Query& qWorkTypes;
    Navigator& m_navigator;
    Platform& m_platform;
    bool m_placed = false;

    QPushButton* btAdd;
    QPushButton* btEdit;
    QPushButton* btDelete;
    QLineEdit* edID;
    QPushButton* btAdd_tool;
    QPushButton* btDell_Tool;
    DbGrid* Grid_Works;
    DbGrid* Grid_Tools;
    DbGrid* Grid_All_Tools;
    QSplitter* m_splitter;
};

QList<Localization::Text> workTypesTexts();
