#include "HistoryReport.h"

#include "data/Columns.h"
#include "reportengine/ReportTemplates.h"
#include "reportengine/TfrxMemoView.h"
#include "reportengine/TfrxReport.h"

HistoryReport::HistoryReport(Connection& db)
    : qHReport(db)
{
    namespace H = col::History;
    qHReport.setStatement(Select(H::Table).columns(
        {H::ADate, H::Operation, H::FIO, H::IType, H::Model, H::Organization, H::State, H::Note, H::ATime}));
}

HistoryReport::~HistoryReport() = default;

QDate HistoryReport::defaultLastDay(const QDate& today)
{
    return today.addMonths(1); // Qt already falls back to the month's last day
}

void HistoryReport::open(const QDate& from, const QDate& to)
{
    qHReport.close();
    namespace H = col::History;
    qHReport.setStatement(
        Select(H::Table)
            .columns({H::ADate, H::ATime, H::Operation, H::FIO, H::IType, H::Model, H::Organization, H::State, H::Note})
            .where(H::ADate + QStringLiteral(" BETWEEN ? AND ?"), {from, to}));
    qHReport.open();
}

TfrxReport& HistoryReport::report(bool russian)
{
    Template& t = slot(russian);
    if (!t.report) {
        t.report = ReportTemplates::load(russian ? QStringLiteral("frxReport_RU") : QStringLiteral("frxReport_EN"));
        t.report->dataSet(QStringLiteral("frxDBDataset1"))->setQuery(qHReport);
        t.report->setToday(m_today);
        t.report->setShowPreview(m_showPreview);
        if (t.showTime)
            showTimeIn(*t.report, *t.showTime, russian);
    }
    return *t.report;
}

void HistoryReport::setHooks(std::function<QDate()> today, TfrxReport::ShowPreview showPreview)
{
    m_today = std::move(today);
    m_showPreview = std::move(showPreview);
    for (const Template* t : {&m_ru, &m_en}) {
        if (t->report) {
            t->report->setToday(m_today);
            t->report->setShowPreview(m_showPreview);
        }
    }
}

void HistoryReport::applyShowTime(bool on, bool russianTemplate)
{
    Template& t = slot(russianTemplate);
    t.showTime = on;
    if (t.report)
        showTimeIn(*t.report, on, russianTemplate);
}

void HistoryReport::showTimeIn(TfrxReport& report, bool on, bool russianTemplate)
{
    TfrxMemoView* cell = report.FindObject(QStringLiteral("frxDBDataset1IType"));
    TfrxMemoView* heading = report.FindObject(QStringLiteral("Memo9"));
    if (!cell || !heading)
        return;
    if (on) {
        cell->setDataField(QStringLiteral("frxDBDataset1"), col::History::ATime);
        cell->setDisplayFormat({DisplayFormat::Kind::DateTime, QStringLiteral("hh:mm:ss")});
        heading->setText(russianTemplate ? QStringLiteral("Время") : QStringLiteral("Time"));
    } else {
        cell->setDataField(QStringLiteral("frxDBDataset1"), col::History::IType);
        cell->setDisplayFormat({DisplayFormat::Kind::Text, QString()});
        heading->setText(russianTemplate ? QStringLiteral("Тип инструмента") : QStringLiteral("Tool"));
    }
}
