#pragma once

#include "CodeLookup.h"
#include "EventRecorder.h"
#include "data/Query.h"

#include <QDateTime>
#include <QObject>

class Session;

// The recipient and the tool shown on the desk, and what is done with them:
// codes looked up and selected, an event recorded for the pair, the desk
// emptied. The desk, manual issue and the cards' returns all go through it.
class DeskSelection : public QObject
{
    Q_OBJECT
public:
    explicit DeskSelection(Session& session, QObject* parent = nullptr);

    // The recipient shown and the tool shown; the desk's controls follow them.
    Query qSearch_U;
    Query qSearch_T;

    // Opens both empty.
    void open();

    bool recipientSelected() const;
    bool toolSelected() const;

    // Which register a code belongs to.
    CodeClass classify(const QString& code);
    // Selects the recipient with this code (none when there is no such code).
    void selectRecipient(const QString& code);
    // Selects the tool with this code unless it is written off.
    void selectTool(const QString& code);
    // Classifies a scanned code and selects it in its register; a code that
    // matches nothing is tried once more as typed under the other keyboard
    // layout.
    CodeClass selectCode(const QString& code);

    void clearRecipient();
    void clearTool();
    // Reads the selected recipient and tool again, as another desk may have
    // changed them (a tool issued or returned there). One no longer found by
    // its code, as a tool written off meanwhile, is no longer selected.
    void reread();
    // Empties the tool and, outside batch issue, the recipient.
    void clearForNextEvent();

    // Batch issue: the recipient stays for several tools.
    bool batch() const { return m_batch; }
    void setBatch(bool on);

    // Records the event for the selected pair and announces the new journal
    // row, then empties the desk when the clear box is on. Throws DbError;
    // then nothing is written.
    EventRecorder::Result record(const QDateTime& now);

    // The operator takes back a tool that is out, without its holder: one
    // transaction decided on the tool as stored now. False when the tool was
    // already in the store. Throws DbError; then nothing is written.
    bool returnByOperator(const QString& toolIdentity, const QDateTime& now);
    // The recipient card's return: the operator takes back the tool with row
    // key toolKey from the holder whose key is holderKey, in one transaction
    // decided on the tool as stored now. The journal row names the tool by
    // its code, as that card has always written it. False when the tool is
    // no longer out with that holder. Throws DbError; then nothing is written.
    bool returnFromHolder(qint64 toolKey, const QString& holderKey, const QDateTime& now);

    // The desk's clear box; a change is saved in the settings file at once.
    // The stored choice comes back at the sign-in.
    bool clearAfterEvent() const { return m_clearAfterEvent; }
    void setClearAfterEvent(bool on);

signals:
    // A row was written to the journal by this program; newRow holds it as
    // stored, by field name, with the tool's code and name (empty when not
    // known). Never emitted for a refused or failed event.
    void journalChanged(const QVariantMap& newRow);
    void batchChanged(bool on);
    void clearAfterEventChanged(bool on);

private:
    // Writes the operator's return row for the tool and puts it back in the
    // store; inside the caller's transaction.
    QVariantMap takeBack(Query& tool, const QString& toolReference, const QDateTime& now);
    // After an operator's return: the desk empty, its journal with the row on top.
    void showOperatorReturn(const QVariantMap& newRow);

    Session& m_session;
    bool m_batch = false;
    bool m_clearAfterEvent = false;
};
