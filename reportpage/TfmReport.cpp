#include "TfmReport.h"

#include "core/FailureText.h"
#include "core/FileChoices.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/WorkCancelled.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/WrittenFileOpener.h"
#include "reportengine/ReportPreview.h"
#include "reportengine/TfrxReport.h"
#include "reports/PreviewFiles.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ProgressWindow.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TfmReport::TfmReport(Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_platform(platform)
    , m_history(session.connection())
{
    setObjectName(QStringLiteral("TfmReport"));
    buildControls();
    guardedConnect(m_reportButton, &QPushButton::clicked, this, platform.dialogs, [this] { Button1Click(); });
    connect(&session.settings(), &Settings::showTimeChanged, this, [this] { applyShowTime(); });
    m_history.setHooks([this] { return m_platform.clock.now().date(); },
                       [this](ReportPreview& preview) { showPreview(preview); });
}

void TfmReport::buildControls()
{
    m_heading = named(new QLabel(this), "Label1");
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_fromCaption = named(new QLabel(this), "Label2");
    m_fromDate = named(new QDateEdit(this), "DateTimePicker1");
    m_toCaption = named(new QLabel(this), "Label3");
    m_toDate = named(new QDateEdit(this), "DateTimePicker2");
    for (QDateEdit* picker : {m_fromDate, m_toDate})
        picker->setCalendarPopup(true);
    m_fromCaption->setBuddy(m_fromDate);
    m_toCaption->setBuddy(m_toDate);
    m_reportButton = named(new QPushButton(this), "Button1");

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_heading, 0, 0, 1, 5);
    layout->addWidget(m_fromCaption, 1, 0);
    layout->addWidget(m_fromDate, 1, 1);
    layout->addWidget(m_toCaption, 1, 2);
    layout->addWidget(m_toDate, 1, 3);
    layout->addWidget(m_reportButton, 1, 4);
    layout->setColumnStretch(5, 1);
    layout->setRowStretch(2, 1);
}

void TfmReport::FormCreate()
{
    const QDate today = m_platform.clock.now().date();
    m_fromDate->setDate(today);
    m_toDate->setDate(HistoryReport::defaultLastDay(today));
    // The switch is applied once more when the main window first shows.
    if (QWidget* main = window(); main != this)
        main->installEventFilter(this);
}

bool TfmReport::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == window() && !m_mainShown) {
        m_mainShown = true;
        runGuarded(m_platform.dialogs, this, [this] { applyShowTime(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TfmReport::applyShowTime()
{
    Settings& settings = m_session.settings();
    m_history.applyShowTime(settings.showTime(), settings.language() == u"RU");
}

void TfmReport::Button1Click()
{
    m_history.open(m_fromDate->date(), m_toDate->date());
    TfrxReport& report = m_history.report(m_session.russian());
    try {
        // A year of the journal takes seconds: shown, and the user may stop it.
        ProgressWindow progress(window(), m_session.texts().rsProgressBuildingReport);
        report.PrepareReport(true, &progress);
    } catch (const WorkCancelled&) {
        return;
    }
    report.ShowPrepared();
}

void TfmReport::showPreview(ReportPreview& preview)
{
    const Messages& texts = m_session.texts();
    // Named by the report and its range, proposed where the program writes its reports.
    setPreviewFiles(preview, m_session, m_platform,
                    texts.rsReportRange.arg(texts.rsHistoryReportName, m_fromDate->text(), m_toDate->text()),
                    texts.rsHistoryReportName);
    m_platform.dialogs.showModal(preview.window());
}

QList<Localization::Text> historyReportTexts()
{
    using P = Localization::Property;
    return {
        {"TfmReport", "Label1", P::Caption, 0, "История выдачи", "History"},
        {"TfmReport", "Label2", P::Caption, 0, "Укажите промежуток  от", "Specify the interval from"},
        {"TfmReport", "Label3", P::Caption, 0, "до", "to"},
        {"TfmReport", "Button1", P::Caption, 0, "Отчет", "Report"},
    };
}
