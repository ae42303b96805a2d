#include "DeskSelection.h"

#include "KeyboardLayout.h"
#include "Session.h"
#include "Settings.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/ToolIdentities.h"

DeskSelection::DeskSelection(Session& session, QObject* parent)
    : QObject(parent)
    , qSearch_U(session.connection())
    , qSearch_T(session.connection())
    , m_session(session)
{
}

void DeskSelection::open()
{
    qSearch_T.openEmpty(col::Tools::Table);
    qSearch_U.openEmpty(col::Users::Table);
}

bool DeskSelection::recipientSelected() const
{
    return qSearch_U.isOpen() && !qSearch_U.isEmpty();
}

bool DeskSelection::toolSelected() const
{
    return qSearch_T.isOpen() && !qSearch_T.isEmpty();
}

CodeClass DeskSelection::classify(const QString& code)
{
    return classifyCode(m_session.connection(), code);
}

void DeskSelection::selectRecipient(const QString& code)
{
    const SqlDialect& d = m_session.connection().dialect();
    qSearch_U.setStatement(Select(col::Users::Table).where(d.caselessEquals(col::Users::ID_User, code), {code}));
    qSearch_U.open();
}

void DeskSelection::selectTool(const QString& code)
{
    const SqlDialect& d = m_session.connection().dialect();
    qSearch_T.setStatement(Select(col::Tools::Table)
                               .where(d.caselessEquals(col::Tools::ID_Tool, code), {code})
                               .where(col::Tools::WriteOff + QStringLiteral("<>") + d.sqlTrue()));
    qSearch_T.open();
}

CodeClass DeskSelection::selectCode(const QString& code)
{
    QString found = code;
    CodeClass kind = classify(code);
    // Nothing as typed: the scanner may have typed it under the other
    // keyboard layout. A code that matches as typed always wins.
    for (const QString& other : {asLatinLayout(code), asCyrillicLayout(code)}) {
        if (kind != CodeClass::None)
            break;
        if (other == code)
            continue;
        kind = classify(other);
        found = other;
    }
    if (kind == CodeClass::User)
        selectRecipient(found);
    else if (kind == CodeClass::Tool)
        selectTool(found);
    return kind;
}

void DeskSelection::clearRecipient()
{
    qSearch_U.openEmpty(col::Users::Table);
}

void DeskSelection::clearTool()
{
    qSearch_T.openEmpty(col::Tools::Table);
}

void DeskSelection::reread()
{
    if (recipientSelected())
        qSearch_U.reopen();
    if (toolSelected())
        qSearch_T.reopen();
}

void DeskSelection::clearForNextEvent()
{
    clearTool();
    if (!m_batch)
        clearRecipient();
}

void DeskSelection::setBatch(bool on)
{
    if (on == m_batch)
        return;
    m_batch = on;
    emit batchChanged(on);
}

void DeskSelection::setClearAfterEvent(bool on)
{
    if (on == m_clearAfterEvent)
        return;
    m_clearAfterEvent = on;
    m_session.settings().setClearFields(on); // the storekeeper's choice outlives the program
    emit clearAfterEventChanged(on);
}

EventRecorder::Result DeskSelection::record(const QDateTime& now)
{
    EventRecorder::Input input;
    input.russian = m_session.russian();
    input.holderRuleOn = m_session.settings().returnToolOnlyOwner();
    input.now = now;
    EventRecorder recorder(m_session.connection(), qSearch_U, qSearch_T);
    const EventRecorder::Result result = recorder.record(input);
    if (result != EventRecorder::Result::RefusedHolder)
        emit journalChanged(recorder.writtenRow());
    if (m_clearAfterEvent)
        clearForNextEvent();
    return result;
}

bool DeskSelection::returnByOperator(const QString& toolIdentity, const QDateTime& now)
{
    Connection& db = m_session.connection();
    // An empty identity would name every tool that lacks one.
    if (toolIdentity.isEmpty())
        throw DbError(QStringLiteral("The tool has no identity"));
    QVariantMap newRow;
    {
        // The journal row and the tool's change go together, decided on the
        // tool as stored now: another desk may have taken it back already.
        Connection::Transaction transaction(db);
        Query tool(db);
        tool.setStatement(
            Select(col::Tools::Table)
                .where(db.dialect().caselessEquals(col::Tools::ID_Tool_Unique, toolIdentity), {toolIdentity}));
        tool.open();
        if (tool.isEmpty())
            throw DbError(QStringLiteral("The tool is no longer in the register"));
        if (tool.boolean(col::Tools::Passed))
            return false;
        newRow = takeBack(tool, tool.text(col::Tools::ID_Tool_Unique), now);
        transaction.commit();
    }
    showOperatorReturn(newRow);
    return true;
}

bool DeskSelection::returnFromHolder(qint64 toolKey, const QString& holderKey, const QDateTime& now)
{
    Connection& db = m_session.connection();
    QVariantMap newRow;
    {
        Connection::Transaction transaction(db);
        Query tool(db);
        tool.setStatement(Select(col::Tools::Table).where(col::Key + QStringLiteral("=?"), {toolKey}));
        tool.open();
        if (tool.isEmpty())
            throw DbError(QStringLiteral("The tool is no longer in the register"));
        // Another desk may have taken it back, or issued it again to someone else.
        if (tool.boolean(col::Tools::Passed) || tool.text(col::Tools::OwnerID) != holderKey)
            return false;
        newRow = takeBack(tool, tool.text(col::Tools::ID_Tool), now);
        transaction.commit();
    }
    showOperatorReturn(newRow);
    return true;
}

QVariantMap DeskSelection::takeBack(Query& tool, const QString& toolReference, const QDateTime& now)
{
    Connection& db = m_session.connection();
    // A tool row written by another program gets its identity with its first event.
    if (tool.text(col::Tools::ID_Tool_Unique).isEmpty() && ToolIdentities::assignTo(db, tool.integer(col::Key)))
        tool.refreshCurrent();
    const bool russian = m_session.russian();
    const EventRecorder::Holder operatorMarker{
        QStringLiteral("0"), russian ? QStringLiteral("ОПЕРАТОР") : QStringLiteral("OPERATOR"), QStringLiteral("")};
    QVariantMap row = EventRecorder::writeJournalRow(db, tool, operatorMarker, EventRecorder::returnWord(russian), now,
                                                     toolReference);
    tool.edit();
    tool.setValue(col::Tools::Passed, true);
    tool.setValue(col::Tools::OwnerID, QStringLiteral("0"));
    tool.post();
    return row;
}

void DeskSelection::showOperatorReturn(const QVariantMap& newRow)
{
    clearTool();
    clearRecipient();
    emit journalChanged(newRow);
}
