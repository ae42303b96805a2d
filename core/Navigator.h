#pragma once

#include "Dictionary.h"
#include "ImportKind.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Whose labels the labels window prints.
enum class LabelKind { Tools, Recipients, Places };

// How one window brings up another without knowing it: the application
// implements it and alone knows the concrete windows. Windows learn of
// changes made elsewhere through its signals.
class Navigator : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The tool register page, searched anew, with its saved sort and columns.
    virtual void showToolList() = 0;
    // The card of the tool list's current tool; returns when it closes.
    virtual void openToolCard() = 0;
    // The card of the tool with this row key, from the page the storekeeper
    // is on, which shows again when the card closes; false (nothing opened)
    // when there is no such tool.
    virtual bool openToolCardOf(qint64 toolKey) = 0;
    // The editor on the tool list's current row, which the caller has put
    // into insert or edit state; returns when it closes.
    virtual void openToolEditor() = 0;
    // Manual issue of the tool with this code; returns when it closes.
    virtual void openManualIssue(const QString& toolCode) = 0;
    virtual void openDictionary(DictionaryKind kind) = 0;
    // The recipient register page, as the left panel brings it up.
    virtual void showRecipientList() = 0;
    // The card of the recipient list's current recipient; returns when it closes.
    virtual void openRecipientCard() = 0;
    // The editor on the recipient list's current row, which the caller has
    // put into insert or edit state; returns when it closes.
    virtual void openRecipientEditor() = 0;
    // The work types window, beside the main window; returns at once.
    virtual void openWorkTypes() = 0;
    // The editor on the current work type, which the caller has put into
    // insert or edit state; returns when it closes.
    virtual void openWorkTypeEditor() = 0;
    // The labels window for a register: chosen is the current row's code
    // (empty when none), listed gives every code the register lists now, in
    // its order (null when the caller has no list: a card); returns when it
    // closes.
    virtual void openLabels(LabelKind kind, const QString& chosen, const std::function<QStringList()>& listed) = 0;
    // The import of tools or workers from a file; returns when it closes.
    virtual void openImport(ImportKind kind) = 0;

    void notifyToolsChanged() { emit toolsChanged(); }
    void notifyRecipientsChanged() { emit recipientsChanged(); }
    void notifyDictionaryChanged(DictionaryKind kind) { emit dictionaryChanged(kind); }
    void notifyWorkTypesChanged() { emit workTypesChanged(); }
    void notifyOtherDesksChanged() { emit otherDesksChanged(); }

signals:
    // Tools were added, changed or moved between store and holders elsewhere.
    void toolsChanged();
    void recipientsChanged();
    void dictionaryChanged(DictionaryKind kind);
    // Work types were added, renamed, deleted or their tools changed.
    void workTypesChanged();
    // Another desk committed changes (events, edits) to the database; the
    // storekeeper is not in the middle of anything here.
    void otherDesksChanged();
};
