#include "HistoryReport.h"

#include "ReportTemplates.h"
#include "TfrxMemoView.h"
#include "TfrxReport.h"

HistoryReport::HistoryReport(Connection& db)
    : qHReport(db)
    , frxReport_RU(ReportTemplates::load(QStringLiteral("frxReport_RU")))
    , frxReport_EN(ReportTemplates::load(QStringLiteral("frxReport_EN")))
{
    qHReport.setSql(
        QStringLiteral("SELECT ADate, Operation, FIO, IType, Model, Organization, State, Note, ATime FROM History"));
    for (TfrxReport* report : {frxReport_RU.get(), frxReport_EN.get()})
        report->dataSet(QStringLiteral("frxDBDataset1"))->setQuery(qHReport);
}

HistoryReport::~HistoryReport() = default;

QDate HistoryReport::defaultLastDay(const QDate& today)
{
    return today.addMonths(1); // Qt already falls back to the month's last day
}

void HistoryReport::open(const QDate& from, const QDate& to)
{
    qHReport.close();
    qHReport.setSql(QStringLiteral("SELECT ADate, ATime, Operation, FIO, IType, Model, Organization, State, Note "
                                   "FROM History WHERE ADate BETWEEN ? AND ?"),
                    {from, to});
    qHReport.open();
}

TfrxReport& HistoryReport::report(bool russian)
{
    return russian ? *frxReport_RU : *frxReport_EN;
}

void HistoryReport::applyShowTime(bool on, bool russianTemplate)
{
    TfrxReport& report = russianTemplate ? *frxReport_RU : *frxReport_EN;
    TfrxMemoView* cell = report.FindObject(QStringLiteral("frxDBDataset1IType"));
    TfrxMemoView* heading = report.FindObject(QStringLiteral("Memo9"));
    if (!cell || !heading)
        return;
    if (on) {
        cell->setDataField(QStringLiteral("frxDBDataset1"), QStringLiteral("ATime"));
        cell->setDisplayFormat({DisplayFormat::Kind::DateTime, QStringLiteral("hh:mm:ss")});
        heading->setText(russianTemplate ? QStringLiteral("Время") : QStringLiteral("Time"));
    } else {
        cell->setDataField(QStringLiteral("frxDBDataset1"), QStringLiteral("IType"));
        cell->setDisplayFormat({DisplayFormat::Kind::Text, QString()});
        heading->setText(russianTemplate ? QStringLiteral("Тип инструмента") : QStringLiteral("Tool"));
    }
}
