#include "OutCsv.h"

#include "data/WholeFileWriter.h"

#include <QIODevice>
#include <QStringList>

namespace OutCsv {

namespace {

QString field(const QString& text)
{
    // A field that could split the row, or that a spreadsheet would take
    // for a formula, is quoted.
    static const QString special = QStringLiteral(";\"\r\n");
    const bool formula = !text.isEmpty() && QStringLiteral("=+-@").contains(text.front());
    bool quote = formula;
    for (QChar c : text)
        quote = quote || special.contains(c);
    if (!quote)
        return text;
    QString inner = text;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + (formula ? u'\'' + inner : inner) + u'"';
}

QString line(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << field(f);
    return quoted.join(u';') + QStringLiteral("\r\n");
}

} // namespace

QByteArray content(const QList<OutTool>& tools, const QDate& today, bool russian)
{
    QStringList titles;
    for (int column = 0; column < ToolsOut::ColumnCount; ++column)
        titles << ToolsOut::columnTitle(column, russian);
    QString text = line(titles);
    for (const OutTool& tool : tools) {
        QStringList cells;
        for (int column = 0; column < ToolsOut::ColumnCount; ++column)
            cells << ToolsOut::cellText(tool, column, today);
        text += line(cells);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void write(const QString& file, const QList<OutTool>& tools, const QDate& today, bool russian)
{
    const QByteArray bytes = content(tools, today, russian);
    WholeFileWriter::write(file, [&bytes](QIODevice& out) { out.write(bytes); });
}

} // namespace OutCsv
