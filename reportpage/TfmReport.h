#pragma once

#include "reports/HistoryReport.h"
#include "widgets/Localization.h"
#include "widgets/Page.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class ReportPreview;
class Session;
struct Platform;

// The history report page, embedded in the main window: the journal of a
// range of days, built and shown in the preview.
class TfmReport : public QWidget, public Page
{
    Q_OBJECT
public:
    TfmReport(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Today to a month ahead; the switch of the fifth column follows the
    // settings from now on.
    void FormCreate();
    void pageShown() override { }
    void Button1Click();
    // The settings' time switch, into the template of the stored language.
    void applyShowTime();

    HistoryReport& history() { return m_history; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showPreview(ReportPreview& preview);

    Session& m_session;
    Platform& m_platform;
    HistoryReport m_history;
    bool m_mainShown = false;

    QLabel* m_heading;
    QLabel* m_fromCaption;
    QDateEdit* m_fromDate;
    QLabel* m_toCaption;
    QDateEdit* m_toDate;
    QPushButton* m_reportButton;
};

QList<Localization::Text> historyReportTexts();
