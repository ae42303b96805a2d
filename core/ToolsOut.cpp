#include "ToolsOut.h"

#include "EventRecorder.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Select.h"
#include "data/SqlDialect.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>

namespace ToolsOut {

namespace {

QDate dateOf(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QTime timeOf(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QTime)
        return v.toTime();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().time();
    // The ISO reading: a pattern's parser costs more than the rest of the list.
    const QString s = v.toString();
    return QTime::fromString(s.size() > 8 ? s.right(8) : s, Qt::ISODate);
}

struct HolderRow {
    QString name;
    QString department;
};

// Holders by their key as text, the way a tool names its holder.
QHash<QString, HolderRow> holders(Connection& db, const QString& holderKey)
{
    namespace U = col::Users;
    Select users = Select(U::Table).columns({col::Key, U::FIO, U::Otdel});
    if (!holderKey.isEmpty()) {
        bool numeric = false;
        const qlonglong key = holderKey.toLongLong(&numeric);
        if (!numeric)
            return {};
        users.whereEquals(col::Key, key);
    }
    QHash<QString, HolderRow> found;
    auto rows = db.run(users);
    while (rows->next())
        found.insert(rows->value(0).toString(), {rows->value(1).toString(), rows->value(2).toString()});
    return found;
}

struct Title {
    const char* ru;
    const char* en;
};

constexpr Title kTitles[ColumnCount] = {
    {"Код", "Code"},         {"Наименование", "Name"}, {"Тип", "Type"},      {"Кому выдан", "Holder"},
    {"Отдел", "Department"}, {"Выдан", "Issued at"},   {"Дней", "Days out"}, {"Срок возврата", "Due date"},
};

} // namespace

QString columnTitle(int column, bool russian)
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return QString::fromUtf8(russian ? kTitles[column].ru : kTitles[column].en);
}

QString cellText(const OutTool& tool, int column, const QDate& today)
{
    switch (column) {
    case Code:
        return tool.code;
    case Name:
        return tool.name;
    case Type:
        return tool.type;
    case Holder:
        return tool.holder;
    case Department:
        return tool.department;
    case IssuedAt:
        if (!tool.issuedOn.isValid())
            return {};
        return tool.issuedOn.toString(QStringLiteral("dd.MM.yyyy"))
            + (tool.issuedAt.isValid() ? u' ' + tool.issuedAt.toString(QStringLiteral("hh:mm")) : QString());
    case DaysOut:
        return tool.issuedOn.isValid() ? QString::number(tool.daysOut(today)) : QString();
    case Due:
        return tool.due.isValid() ? tool.due.toString(QStringLiteral("dd.MM.yyyy")) : QString();
    default:
        return {};
    }
}

QString statement(const SqlDialect& d, bool oneHolder)
{
    namespace T = col::Tools;
    namespace H = col::History;
    const auto q = [&d](const QString& name) { return d.quoteIdentifier(name); };
    const QString t = QStringLiteral("out_tool.");
    const QString h = QStringLiteral("issue_row.");
    const QString x = QStringLiteral("later_row.");
    // The last issue row names the tool by its identity; the index on the
    // journal's tool reference finds it.
    QString sql = QStringLiteral(
                      "SELECT %1, %2, %3, %4, %5, %6, %7, %8 FROM %9 AS out_tool LEFT JOIN %10 AS issue_row ON %11 = "
                      "(SELECT MAX(%12) FROM %10 AS later_row WHERE %13 AND %14 IN (?, ?)) WHERE %15 = %16")
                      .arg(t + q(col::Key), t + q(T::ID_Tool), t + q(T::Naim), t + q(T::Tool_Type), t + q(T::OwnerID),
                           h + q(H::ADate), h + q(H::ATime), h + q(H::Due_date))
                      .arg(q(T::Table), q(H::Table), h + q(col::Key), x + q(col::Key),
                           d.caselessSame(x + q(H::ID_T), t + q(T::ID_Tool_Unique)), x + q(H::Operation),
                           t + q(T::Passed), d.sqlFalse());
    if (oneHolder)
        sql += QStringLiteral(" AND %1 = ?").arg(t + q(T::OwnerID));
    return sql;
}

QVariantList statementParams(const QString& holderKey)
{
    QVariantList params{EventRecorder::issueWord(true), EventRecorder::issueWord(false)};
    if (!holderKey.isEmpty())
        params << holderKey;
    return params;
}

QList<OutTool> load(Connection& db, const QDate& today, const QString& holderKey)
{
    QList<OutTool> tools;
    {
        auto rows = db.run(statement(db.dialect(), !holderKey.isEmpty()), statementParams(holderKey));
        while (rows->next()) {
            OutTool tool;
            tool.key = rows->value(0).toLongLong();
            tool.code = rows->value(1).toString();
            tool.name = rows->value(2).toString();
            tool.type = rows->value(3).toString();
            tool.holderKey = rows->value(4).toString().trimmed();
            tool.issuedOn = dateOf(rows->value(5));
            tool.issuedAt = timeOf(rows->value(6));
            tool.due = dateOf(rows->value(7));
            tools.append(tool);
        }
    }
    const QHash<QString, HolderRow> byKey = holders(db, holderKey);
    for (OutTool& tool : tools) {
        const auto holder = byKey.constFind(tool.holderKey);
        if (holder != byKey.constEnd()) {
            tool.holder = holder->name;
            tool.department = holder->department;
        }
    }
    listOrder(tools, today);
    return tools;
}

void listOrder(QList<OutTool>& tools, const QDate& today)
{
    std::stable_sort(tools.begin(), tools.end(), [&today](const OutTool& a, const OutTool& b) {
        const bool aOver = a.overdue(today);
        const bool bOver = b.overdue(today);
        if (aOver != bOver)
            return aOver;
        if (aOver && a.due != b.due)
            return a.due < b.due;
        // Unknown issues last among the others: nothing says they are old.
        if (a.issuedOn.isValid() != b.issuedOn.isValid())
            return a.issuedOn.isValid();
        if (a.issuedOn != b.issuedOn)
            return a.issuedOn < b.issuedOn;
        if (a.issuedAt != b.issuedAt)
            return a.issuedAt < b.issuedAt;
        return a.code.compare(b.code, Qt::CaseInsensitive) < 0;
    });
}

QList<OutTool> overdueOnly(const QList<OutTool>& tools, const QDate& today)
{
    QList<OutTool> overdue;
    std::copy_if(tools.cbegin(), tools.cend(), std::back_inserter(overdue),
                 [&today](const OutTool& tool) { return tool.overdue(today); });
    return overdue;
}

bool matches(const OutTool& tool, const QString& search)
{
    const QString text = search.trimmed();
    if (text.isEmpty())
        return true;
    return tool.code.contains(text, Qt::CaseInsensitive) || tool.holder.contains(text, Qt::CaseInsensitive)
        || tool.department.contains(text, Qt::CaseInsensitive);
}

} // namespace ToolsOut
