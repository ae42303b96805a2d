#include "LabelItems.h"

#include "LabelError.h"

#include "core/Messages.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Select.h"
#include "data/SqlDialect.h"

namespace {

using Line = QString (*)(const Query&);

QList<LabelItem> rows(Connection& db, const QString& table, const QString& codeColumn, const QStringList& columns,
                      Line second, const QStringList& codes, const Messages& texts)
{
    QList<LabelItem> items;
    const auto read = [&](Query& q) {
        for (q.first(); !q.eof(); q.next()) {
            const QString code = q.text(codeColumn).trimmed();
            if (!code.isEmpty())
                items.append({code, second(q).trimmed()});
        }
    };
    if (codes.isEmpty()) {
        Query q(db);
        q.setStatement(Select(table).columns(columns).orderBy(col::Key));
        q.open();
        read(q);
        return items;
    }
    for (const QString& given : codes) {
        const QString code = given.trimmed();
        Query q(db);
        q.setStatement(Select(table)
                           .columns(columns)
                           .where(db.dialect().caselessEquals(codeColumn, code), {code})
                           .orderBy(col::Key)
                           .limit(1));
        q.open();
        const qsizetype before = items.size();
        read(q);
        if (items.size() == before)
            throw LabelError(texts.rsLabelCodeNotFound.arg(code));
    }
    return items;
}

} // namespace

namespace LabelItems {

QList<LabelItem> tools(Connection& db, const QStringList& codes, const Messages& texts)
{
    using namespace col::Tools;
    return rows(
        db, Table, ID_Tool, {col::Key, ID_Tool, Naim, Tool_Type},
        [](const Query& q) {
            const QString name = q.text(Naim).trimmed();
            return name.isEmpty() ? q.text(Tool_Type) : name;
        },
        codes, texts);
}

QList<LabelItem> recipients(Connection& db, const QStringList& codes, const Messages& texts)
{
    using namespace col::Users;
    return rows(
        db, Table, ID_User, {col::Key, ID_User, FIO}, [](const Query& q) { return q.text(FIO); }, codes, texts);
}

QList<LabelItem> places(Connection& db, const QString& prefix, const QStringList& codes, const Messages& texts)
{
    const auto item = [&](const Query& q) {
        return LabelItem{prefix + q.text(col::Key), q.text(col::Dictionary::AField).trimmed()};
    };
    QList<LabelItem> items;
    if (codes.isEmpty()) {
        Query q(db);
        q.setStatement(Select(col::MESTO::Table).orderBy(col::Key));
        q.open();
        for (q.first(); !q.eof(); q.next())
            items.append(item(q));
        return items;
    }
    for (const QString& given : codes) {
        const QString code = given.trimmed();
        bool ok = false;
        const qint64 key = code.startsWith(prefix, Qt::CaseInsensitive) ? code.mid(prefix.size()).toLongLong(&ok) : 0;
        if (ok) {
            Query q(db);
            q.setStatement(Select(col::MESTO::Table).whereEquals(col::Key, key));
            q.open();
            if (!q.isEmpty()) {
                q.first();
                items.append(item(q));
                continue;
            }
        }
        throw LabelError(texts.rsLabelCodeNotFound.arg(code));
    }
    return items;
}

} // namespace LabelItems
