#pragma once

#include "widgets/Localization.h"
#include "widgets/Page.h"

#include <QWidget>
#include <memory>

class OutReport;
class OutToolsModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Navigator;
class ReportPreview;
class Session;
struct Platform;

// The tools-out page, embedded in the main window: every tool that is out,
// with its holder, since when and until when, overdue ones first; searched
// by code, holder or department; a title click sorts, a double click opens
// the tool's card; the list goes to the report preview (print, PDF, RTF).
class TfmOut : public QWidget, public Page
{
    Q_OBJECT
public:
    TfmOut(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);
    ~TfmOut() override;

    // Reads the list anew. Throws DbError.
    void reload();
    void pageShown() override;

    void edSearchChange();
    void cbOverdueOnlyClick();
    void grid_OutDblClick();
    // The rows shown, in their order, to the report preview.
    void btReportClick();

    OutToolsModel& model() const { return *m_model; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void showCount();
    void showPreview(ReportPreview& preview);

    Session& m_session;
    Navigator& m_navigator;
    Platform& m_platform;
    OutToolsModel* m_model;
    std::unique_ptr<OutReport> m_report;

    QLabel* lbTitle;
    QLabel* lbSearch;
    QLineEdit* edSearch;
    QCheckBox* cbOverdueOnly;
    QLabel* lbCount;
    QPushButton* btReport;
    QTableView* grid_Out;
};

QList<Localization::Text> toolsOutTexts();
