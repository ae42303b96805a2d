#include "EventRecorder.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Select.h"
#include "data/ToolIdentities.h"

EventRecorder::EventRecorder(Connection& connection, Query& recipient, Query& tool)
    : m_db(connection)
    , m_recipient(recipient)
    , m_tool(tool)
{
}

void EventRecorder::writeJournalRow(Query& journal, const Query& tool, const Holder& holder, const QString& operation,
                                    const QDateTime& when)
{
    writeJournalRow(journal, tool, holder, operation, when, tool.text(QStringLiteral("ID_Tool_Unique")));
}

void EventRecorder::writeJournalRow(Query& journal, const Query& tool, const Holder& holder, const QString& operation,
                                    const QDateTime& when, const QString& toolReference)
{
    const QTime time = when.time();
    journal.append();
    journal.setValue(QStringLiteral("ID_U"), holder.code);
    journal.setValue(QStringLiteral("ID_T"), toolReference);
    journal.setValue(QStringLiteral("ADate"), when.date());
    journal.setValue(QStringLiteral("ATime"), QTime(time.hour(), time.minute(), time.second())); // whole seconds
    journal.setValue(QStringLiteral("Operation"), operation);
    journal.setValue(QStringLiteral("Note"), QStringLiteral(""));
    journal.setValue(QStringLiteral("FIO"), holder.name);
    journal.setValue(QStringLiteral("IType"), tool.text(QStringLiteral("Tool_Type")));
    journal.setValue(QStringLiteral("Model"),
                     tool.text(QStringLiteral("Proizvoditel")) + u' ' + tool.text(QStringLiteral("Model")));
    journal.setValue(QStringLiteral("Organization"), holder.organization);
    journal.setValue(QStringLiteral("State"), tool.text(QStringLiteral("Tool_State")));
    journal.post();
}

EventRecorder::Result EventRecorder::record(const Input& input)
{
    try {
        return write(input);
    } catch (const DbError&) {
        // The transaction is rolled back: drop what the result set holds of it.
        m_tool.cancel();
        try {
            m_tool.reopen();
        } catch (const DbError&) {
            // The first error is the one to report.
        }
        throw;
    }
}

EventRecorder::Result EventRecorder::write(const Input& input)
{
    Connection::Transaction transaction(m_db);
    m_tool.lockCurrent(); // another desk may have moved the tool since it was scanned, or be moving it now
    // A tool row written by another program may lack the identity the
    // journal names it by: it gets one with this event.
    if (m_tool.text(QStringLiteral("ID_Tool_Unique")).isEmpty()
        && ToolIdentities::assignTo(m_db, m_tool.integer(QStringLiteral("ID"))))
        m_tool.lockCurrent();

    const QString recipientKey = QString::number(m_recipient.integer(QStringLiteral("ID")));
    const bool inStore = m_tool.boolean(QStringLiteral("Passed"));
    if (input.holderRuleOn && !inStore && m_tool.text(QStringLiteral("OwnerID")) != recipientKey)
        return Result::RefusedHolder; // rolled back: nothing was written

    const Holder holder{m_recipient.text(QStringLiteral("ID_User")), m_recipient.text(QStringLiteral("FIO")),
                        m_recipient.text(QStringLiteral("Organization"))};
    Query journal(m_db);
    journal.setStatement(Select(col::History::Table).where(col::Key + QStringLiteral("=0"))); // only appended to
    journal.open();
    writeJournalRow(journal, m_tool, holder, inStore ? issueWord(input.russian) : returnWord(input.russian), input.now);

    m_tool.edit();
    m_tool.setValue(QStringLiteral("Passed"), !inStore);
    m_tool.setValue(QStringLiteral("OwnerID"), recipientKey);
    m_tool.post();

    transaction.commit();
    return inStore ? Result::Issued : Result::Returned;
}
