#include "EventRecorder.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"

EventRecorder::EventRecorder(Connection& connection, Query& recipient, Query& tool, Query& journal)
    : m_db(connection)
    , m_recipient(recipient)
    , m_tool(tool)
    , m_journal(journal)
{
}

EventRecorder::Result EventRecorder::record(const Input& input)
{
    try {
        return write(input);
    } catch (const DbError&) {
        // The transaction is rolled back: drop what the result sets hold of it.
        m_journal.cancel();
        m_tool.cancel();
        try {
            m_journal.reopen();
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
    m_tool.refreshCurrent(); // another desk may have moved the tool since it was scanned

    const QString recipientKey = QString::number(m_recipient.integer(QStringLiteral("ID")));
    const bool inStore = m_tool.boolean(QStringLiteral("Passed"));
    if (input.holderRuleOn && !inStore && m_tool.text(QStringLiteral("OwnerID")) != recipientKey)
        return Result::RefusedHolder; // rolled back: nothing was written

    m_journal.append();
    m_journal.setValue(QStringLiteral("ID_U"), m_recipient.text(QStringLiteral("ID_User")));
    m_journal.setValue(QStringLiteral("ID_T"), m_tool.text(QStringLiteral("ID_Tool_Unique")));
    m_journal.setValue(QStringLiteral("ADate"), input.now.date());
    m_journal.setValue(QStringLiteral("ATime"), QTime(input.now.time().hour(), input.now.time().minute(), input.now.time().second()));
    m_journal.setValue(QStringLiteral("Operation"), inStore ? issueWord(input.russian) : returnWord(input.russian));
    m_journal.setValue(QStringLiteral("Note"), QStringLiteral(""));
    m_journal.setValue(QStringLiteral("FIO"), m_recipient.text(QStringLiteral("FIO")));
    m_journal.setValue(QStringLiteral("IType"), m_tool.text(QStringLiteral("Tool_Type")));
    m_journal.setValue(QStringLiteral("Model"),
                       m_tool.text(QStringLiteral("Proizvoditel")) + u' ' + m_tool.text(QStringLiteral("Model")));
    m_journal.setValue(QStringLiteral("Organization"), m_recipient.text(QStringLiteral("Organization")));
    m_journal.setValue(QStringLiteral("State"), m_tool.text(QStringLiteral("Tool_State")));
    m_journal.post();

    m_tool.edit();
    m_tool.setValue(QStringLiteral("Passed"), !inStore);
    m_tool.setValue(QStringLiteral("OwnerID"), recipientKey);
    m_tool.post();

    transaction.commit();
    return inStore ? Result::Issued : Result::Returned;
}
