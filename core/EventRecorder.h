#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>

class Connection;
class Query;

// Records one desk event for the selected recipient and tool: the journal
// row and the tool's turn-over are written in one transaction, decided from
// the tool's state as stored at that moment, so two desks on one database
// never issue the same tool twice.
class EventRecorder
{
public:
    enum class Result { Issued, Returned, RefusedHolder };

    struct Input {
        bool russian = true;       // operation words of the current language
        bool holderRuleOn = false; // a tool that is out comes back only with its holder
        QDateTime now;
    };

    // The journal row goes in through a result set of its own: no window's
    // journal is touched, the caller announces the new row.
    EventRecorder(Connection& connection, Query& recipient, Query& tool);

    // Throws DbError; then nothing is written and both result sets are reloaded.
    Result record(const Input& input);
    // The journal row the last recorded event wrote; empty after a refusal.
    const QVariantMap& writtenRow() const { return m_written; }

    // Who an event was recorded for: the recipient at the desk, or the
    // operator's marker for a return from a card.
    struct Holder {
        QString code;
        QString name;
        QString organization;
    };
    // Appends one journal row for the current row of tool, through a result
    // set of its own: whatever shows the journal is told, not touched.
    // Returns the row as stored, by field name, with the tool's code and name
    // as the journal shows them beside it.
    static QVariantMap writeJournalRow(Connection& db, const Query& tool, const Holder& holder,
                                       const QString& operation, const QDateTime& when);
    // The same, naming the tool by toolReference instead of its identity;
    // an issue row keeps the date the tool is due back (none when invalid).
    static QVariantMap writeJournalRow(Connection& db, const Query& tool, const Holder& holder,
                                       const QString& operation, const QDateTime& when, const QString& toolReference,
                                       const QDate& due = {});

    static QString issueWord(bool russian) { return russian ? QStringLiteral("Выдан") : QStringLiteral("issued"); }
    static QString returnWord(bool russian) { return russian ? QStringLiteral("Сдан") : QStringLiteral("passed"); }

private:
    Result write(const Input& input);

    Connection& m_db;
    Query& m_recipient;
    Query& m_tool;
    QVariantMap m_written;
};
