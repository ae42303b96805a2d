#include "TfmOut.h"

#include "OutToolsModel.h"

#include "core/FailureText.h"
#include "core/FileChoices.h"
#include "core/Messages.h"
#include "core/Navigator.h"
#include "core/ReportFileName.h"
#include "core/Session.h"
#include "data/WorkCancelled.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/WrittenFileOpener.h"
#include "reportengine/ReportPreview.h"
#include "reportengine/TfrxReport.h"
#include "reports/OutReport.h"
#include "reports/PreviewFiles.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ProgressWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TfmOut::TfmOut(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_navigator(navigator)
    , m_platform(platform)
    , m_model(new OutToolsModel([&session] { return session.russian(); }, this))
    , m_report(std::make_unique<OutReport>())
{
    setObjectName(QStringLiteral("TfmOut"));
    buildControls();
    connect(edSearch, &QLineEdit::textChanged, this, &TfmOut::edSearchChange);
    connect(cbOverdueOnly, &QCheckBox::toggled, this, &TfmOut::cbOverdueOnlyClick);
    guardedConnect(grid_Out, &QTableView::doubleClicked, this, platform.dialogs, [this] { grid_OutDblClick(); });
    guardedConnect(btReport, &QPushButton::clicked, this, platform.dialogs, [this] { btReportClick(); });
    // Tools moved here or at another desk: a list in view follows at once,
    // a hidden one when it is next shown.
    for (auto signal : {&Navigator::toolsChanged, &Navigator::otherDesksChanged}) {
        connect(&navigator, signal, this, [this] {
            if (isVisible())
                runGuarded(m_platform.dialogs, this, [this] { reload(); });
        });
    }
    m_report->setHooks([this] { return m_platform.clock.now().date(); },
                       [this](ReportPreview& preview) { showPreview(preview); });
}

TfmOut::~TfmOut() = default;

void TfmOut::buildControls()
{
    lbTitle = named(new QLabel(this), "lbTitle");
    QFont bold = lbTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lbTitle->setFont(bold);
    lbSearch = named(new QLabel(this), "lbSearch");
    edSearch = named(new QLineEdit(this), "edSearch");
    lbSearch->setBuddy(edSearch);
    cbOverdueOnly = named(new QCheckBox(this), "cbOverdueOnly");
    lbCount = named(new QLabel(this), "lbCount");
    btReport = named(new QPushButton(this), "btReport");

    grid_Out = named(new QTableView(this), "grid_Out");
    grid_Out->setModel(m_model);
    grid_Out->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_Out->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_Out->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_Out->setAlternatingRowColors(false); // the row colour tells overdue from out
    grid_Out->verticalHeader()->hide();
    grid_Out->verticalHeader()->setDefaultSectionSize(grid_Out->fontMetrics().height() + 6);
    grid_Out->horizontalHeader()->setStretchLastSection(true);
    grid_Out->horizontalHeader()->setSortIndicatorShown(false);
    grid_Out->horizontalHeader()->setSectionsClickable(true);
    // The first click sorts up, the next down; the list's own order until then.
    connect(grid_Out->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const bool again = m_model->sortColumn() == column && m_model->sortOrder() == Qt::AscendingOrder;
        const Qt::SortOrder order = again ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_model->sort(column, order);
        grid_Out->horizontalHeader()->setSortIndicatorShown(true);
        grid_Out->horizontalHeader()->setSortIndicator(column, order);
    });
    const int widths[] = {80, 170, 120, 180, 120, 135, 55, 100};
    for (int column = 0; column < int(std::size(widths)); ++column)
        grid_Out->setColumnWidth(column, widths[column]);

    auto* bar = new QHBoxLayout;
    bar->addWidget(lbSearch);
    bar->addWidget(edSearch, 1);
    bar->addWidget(cbOverdueOnly);
    bar->addWidget(lbCount);
    bar->addStretch();
    bar->addWidget(btReport);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addLayout(bar);
    layout->addWidget(grid_Out, 1);
    setTabOrder(edSearch, cbOverdueOnly);
    setTabOrder(cbOverdueOnly, btReport);
    setTabOrder(btReport, grid_Out);
}

void TfmOut::reload()
{
    const QDate today = m_platform.clock.now().date();
    m_model->setTools(ToolsOut::load(m_session.connection(), today), today);
    showCount();
}

void TfmOut::pageShown()
{
    reload();
    edSearch->setFocus();
}

void TfmOut::showCount()
{
    lbCount->setText(m_session.texts().rsToolsOutCount.arg(m_model->all().size()).arg(m_model->overdueCount()));
}

void TfmOut::edSearchChange()
{
    m_model->setSearch(edSearch->text());
}

void TfmOut::cbOverdueOnlyClick()
{
    m_model->setOverdueOnly(cbOverdueOnly->isChecked());
}

void TfmOut::grid_OutDblClick()
{
    const QModelIndex current = grid_Out->currentIndex();
    if (!current.isValid())
        return;
    const OutTool tool = m_model->shown().at(current.row());
    // The page comes back after the card, read anew: the card may have taken the tool back.
    if (m_navigator.openToolCardOf(tool.key))
        return;
    reload();
    m_platform.dialogs.message(this, m_session.texts().rsToolsOutNoCard.arg(tool.code));
}

void TfmOut::btReportClick()
{
    const Messages& texts = m_session.texts();
    const bool overdueOnly = cbOverdueOnly->isChecked();
    const QString title = overdueOnly ? texts.rsOverdueReportName : texts.rsToolsOutReportName;
    try {
        // Built once, with its progress shown, then previewed as built.
        ProgressWindow progress(this, texts.rsProgressBuildingReport);
        TfrxReport& report = m_report->prepare(
            m_session.russian(), m_model->shown(), m_model->today(), title,
            texts.rsToolsOutCount.arg(m_model->all().size()).arg(m_model->overdueCount()), &progress);
        report.ShowPrepared();
    } catch (const WorkCancelled&) {
    }
}

void TfmOut::showPreview(ReportPreview& preview)
{
    const Messages& texts = m_session.texts();
    const QString name = cbOverdueOnly->isChecked() ? texts.rsOverdueReportName : texts.rsToolsOutReportName;
    setPreviewFiles(preview, m_session, m_platform, name, name);
    m_platform.dialogs.showModal(preview.window());
}

void TfmOut::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        m_model->retitle();
        showCount();
        edSearch->setAccessibleName(lbSearch->text().remove(u'&'));
        grid_Out->setAccessibleName(lbTitle->text());
    }
}

QList<Localization::Text> toolsOutTexts()
{
    using P = Localization::Property;
    return {
        {"TfmOut", "lbTitle", P::Caption, 0, "Выданный инструмент", "Tools out"},
        {"TfmOut", "lbSearch", P::Caption, 0, "&Поиск:", "&Search:"},
        {"TfmOut", "edSearch", P::Hint, 0, "Код, получатель или отдел", "Code, holder or department"},
        {"TfmOut", "cbOverdueOnly", P::Caption, 0, "Только просроченные", "Overdue only"},
        {"TfmOut", "btReport", P::Caption, 0, "Отчет", "Report"},
    };
}
