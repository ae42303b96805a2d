#include "WorkTypeToolList.h"

#include "ToolSearch.h"
#include "data/Columns.h"
#include "data/Connection.h"

WorkTypeToolList::WorkTypeToolList(const QString& stored)
    : m_identities(parseToolList(stored))
{
}

WorkTypeToolList WorkTypeToolList::read(Connection& db, qint64 workTypeKey)
{
    return WorkTypeToolList(
        db.scalar(Select(col::WORKTYPES::Table).columns({col::Dictionary::AField_2}).whereEquals(col::Key, workTypeKey))
            .toString());
}

bool WorkTypeToolList::add(const QString& identity)
{
    if (contains(identity))
        return false;
    m_identities.append(identity);
    return true;
}

qsizetype WorkTypeToolList::remove(const QString& identity)
{
    return m_identities.removeAll(identity);
}

QString WorkTypeToolList::stored() const
{
    QStringList entries;
    entries.reserve(m_identities.size());
    for (const QString& identity : m_identities)
        entries << quoted(identity);
    return entries.join(u',');
}

QString WorkTypeToolList::quoted(const QString& identity)
{
    QString text = identity;
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}
