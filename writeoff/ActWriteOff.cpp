#include "ActWriteOff.h"

#include "data/Columns.h"
#include "data/Connection.h"

ActWriteOff::ActWriteOff(Connection& db)
    : m_db(db)
{
}

Select ActWriteOff::tools(qint64 act)
{
    return Select(col::Tools::Table).whereEquals(col::Tools::WriteOff_AKT_ID, act).orderBy(col::Key);
}

QStringList ActWriteOff::writeOff(qint64 act, const QDateTime& when)
{
    namespace T = col::Tools;
    const SqlDialect& d = m_db.dialect();
    Connection::Transaction transaction(m_db);
    QStringList onHand;
    {
        Statement out = m_db.run(Select(T::Table)
                                     .columns({T::ID_Tool})
                                     .whereEquals(T::WriteOff_AKT_ID, act)
                                     .where(T::WriteOff + QStringLiteral(" <> ") + d.sqlTrue())
                                     .where(T::Passed + QStringLiteral(" = ") + d.sqlFalse())
                                     .orderBy(col::Key));
        while (out->next())
            onHand << out->value(0).toString();
    }
    if (!onHand.isEmpty())
        return onHand; // rolled back: nothing was written
    m_db.exec(
        Update(T::Table).set(T::WriteOff, d.toStorage(FieldKind::Bool, true)).whereEquals(T::WriteOff_AKT_ID, act));
    m_db.exec(Update(col::AKTSpisaniya::Table)
                  .set(col::AKTSpisaniya::ADate, d.toStorage(FieldKind::DateTime, when))
                  .whereEquals(col::Key, act));
    transaction.commit();
    return {};
}
