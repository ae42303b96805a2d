#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TfrxReport;

// The report templates built into the program: the issue history, the
// inventory, the statement of tools on hand and the tools out, each in
// Russian and English.
namespace ReportTemplates {

// frxReport_RU, frxReport_EN, frxReport_Invent_RU, frxReport_Invent_EN,
// frxReport_ToolOnH, frxReport_ToolOnH_EN, frxReport_Out_RU, frxReport_Out_EN.
QStringList names();
// A fresh copy of the named template; throws ReportError for an unknown name.
std::unique_ptr<TfrxReport> load(const QString& name);

} // namespace ReportTemplates
