#include "LastIssue.h"

#include "core/EventRecorder.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Query.h"

void findLastIssuedDate(Connection& db, const QString& toolId, const QString& userId, QDate& result)
{
    // Without an identity no journal row names the tool: rows with an empty
    // reference belong to tools unknown.
    if (toolId.isEmpty())
        return;
    const SqlDialect& d = db.dialect();
    Query rows(db);
    // Codes are compared as the desk looks them up, never as patterns.
    namespace H = col::History;
    rows.setStatement(Select(H::Table)
                          .columns({col::Key, H::ADate, H::Operation})
                          .where(d.caselessEquals(H::ID_U, userId), {userId})
                          .where(d.caselessEquals(H::ID_T, toolId), {toolId}));
    rows.open();
    const QString russianWord = EventRecorder::issueWord(true);
    const QString englishWord = EventRecorder::issueWord(false);
    for (rows.first(); !rows.eof(); rows.next()) {
        const QString operation = rows.text(col::History::Operation);
        if (operation != russianWord && operation != englishWord)
            continue;
        const QDate date = rows.date(col::History::ADate);
        if (date.isValid() && date > result)
            result = date;
    }
}
