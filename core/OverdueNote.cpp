#include "OverdueNote.h"

#include "Messages.h"

#include <QStringList>

QString overdueNote(const QList<OutTool>& overdue, const Messages& texts)
{
    if (overdue.isEmpty())
        return {};
    QStringList named;
    for (const OutTool& tool : overdue.mid(0, kOverdueNamed))
        named << texts.rsOverdueTool.arg(tool.code, tool.due.toString(QStringLiteral("dd.MM.yyyy")));
    if (overdue.size() > kOverdueNamed)
        named << QStringLiteral("…");
    return texts.rsOverdueTools.arg(overdue.size()).arg(named.join(QStringLiteral(", ")));
}
