#include "EventRecorder.h"

#include "LoanPeriod.h"

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

QVariantMap EventRecorder::writeJournalRow(Connection& db, const Query& tool, const Holder& holder,
                                           const QString& operation, const QDateTime& when)
{
    return writeJournalRow(db, tool, holder, operation, when, tool.text(col::Tools::ID_Tool_Unique));
}

QVariantMap EventRecorder::writeJournalRow(Connection& db, const Query& tool, const Holder& holder,
                                           const QString& operation, const QDateTime& when,
                                           const QString& toolReference, const QDate& due)
{
    Query journal(db);
    journal.openEmpty(col::History::Table);
    const QTime time = when.time();
    journal.append();
    journal.setValue(col::History::ID_U, holder.code);
    journal.setValue(col::History::ID_T, toolReference);
    journal.setValue(col::History::ADate, when.date());
    journal.setValue(col::History::ATime, QTime(time.hour(), time.minute(), time.second())); // whole seconds
    journal.setValue(col::History::Operation, operation);
    journal.setValue(col::History::Note, QStringLiteral(""));
    journal.setValue(col::History::FIO, holder.name);
    journal.setValue(col::History::IType, tool.text(col::Tools::Tool_Type));
    journal.setValue(col::History::Model, tool.text(col::Tools::Proizvoditel) + u' ' + tool.text(col::Tools::Model));
    journal.setValue(col::History::Organization, holder.organization);
    journal.setValue(col::History::State, tool.text(col::Tools::Tool_State));
    if (due.isValid())
        journal.setValue(col::History::Due_date, due);
    journal.post();
    QVariantMap row = journal.currentValues();
    row.insert(col::Key, journal.value(col::Key)); // under its usual name, whatever case the engine gives
    row.insert(col::Tools::ID_Tool, tool.value(col::Tools::ID_Tool));
    row.insert(col::Tools::Naim, tool.value(col::Tools::Naim));
    return row;
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
    m_written.clear();
    Connection::Transaction transaction(m_db);
    m_tool.lockCurrent(); // another desk may have moved the tool since it was scanned, or be moving it now
    // A tool row written by another program may lack the identity the
    // journal names it by: it gets one with this event.
    if (m_tool.text(col::Tools::ID_Tool_Unique).isEmpty() && ToolIdentities::assignTo(m_db, m_tool.integer(col::Key)))
        m_tool.lockCurrent();

    const QString recipientKey = QString::number(m_recipient.integer(col::Key));
    const bool inStore = m_tool.boolean(col::Tools::Passed);
    if (input.holderRuleOn && !inStore && m_tool.text(col::Tools::OwnerID) != recipientKey)
        return Result::RefusedHolder; // rolled back: nothing was written

    const Holder holder{m_recipient.text(col::Users::ID_User), m_recipient.text(col::Users::FIO),
                        m_recipient.text(col::Users::Organization)};
    // The period as set at this moment: a later change moves later issues only.
    const QDate due = inStore ? LoanPeriod::dueDate(m_db, m_tool, input.now.date()) : QDate();
    QVariantMap written = writeJournalRow(m_db, m_tool, holder,
                                          inStore ? issueWord(input.russian) : returnWord(input.russian), input.now,
                                          m_tool.text(col::Tools::ID_Tool_Unique), due);

    m_tool.edit();
    m_tool.setValue(col::Tools::Passed, !inStore);
    m_tool.setValue(col::Tools::OwnerID, recipientKey);
    m_tool.post();

    transaction.commit();
    m_written = std::move(written);
    return inStore ? Result::Issued : Result::Returned;
}
