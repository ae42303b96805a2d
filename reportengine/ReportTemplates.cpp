#include "ReportTemplates.h"

#include "ReportError.h"
#include "TemplateLoader.h"
#include "TfrxReport.h"

namespace ReportTemplates {

QStringList names()
{
    return {QStringLiteral("frxReport_RU"),        QStringLiteral("frxReport_EN"),
            QStringLiteral("frxReport_Invent_RU"), QStringLiteral("frxReport_Invent_EN"),
            QStringLiteral("frxReport_ToolOnH"),   QStringLiteral("frxReport_ToolOnH_EN"),
            QStringLiteral("frxReport_Out_RU"),    QStringLiteral("frxReport_Out_EN")};
}

std::unique_ptr<TfrxReport> load(const QString& name)
{
    if (!names().contains(name))
        throw ReportError(QStringLiteral("No report template \"%1\"").arg(name));
    return TemplateLoader::fromFile(QStringLiteral(":/reports/templates/%1.json").arg(name));
}

} // namespace ReportTemplates
