#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The tools of one work type as stored in WORKTYPES.AField_2: identities in
// SQL quotes joined by bare commas ('A1','B''7'), in the order they were
// added. Other copies of the program read that text, so it keeps its form;
// here it is only ever parsed and written, never pasted into a statement.
class WorkTypeToolList
{
public:
    explicit WorkTypeToolList(const QString& stored = {});

    // The stored list of the work type with this key; empty when it has none
    // or is gone.
    static WorkTypeToolList read(Connection& db, qint64 workTypeKey);

    const QStringList& identities() const { return m_identities; }
    bool isEmpty() const { return m_identities.isEmpty(); }
    // Exact: letter case counts, as the identities are matched in the store.
    bool contains(const QString& identity) const { return m_identities.contains(identity); }
    // Appends the identity unless it is there; false when it was.
    bool add(const QString& identity);
    // Removes every entry equal to the identity; the others keep their text
    // and order. Returns how many went.
    qsizetype remove(const QString& identity);

    // The text to store: empty for no tools.
    QString stored() const;
    // The identity in SQL quotes, each inner quote doubled.
    static QString quoted(const QString& identity);

private:
    QStringList m_identities;
};
