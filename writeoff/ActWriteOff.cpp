#include "ActWriteOff.h"

#include "data/Columns.h"
#include "data/Connection.h"

ActWriteOff::ActWriteOff(Connection& db)
    : m_db(db)
{
}

Select ActWriteOff::tools(qint64 act)
{
    return Select(col::Tools::Table).where(col::Tools::WriteOff_AKT_ID + QStringLiteral("=?"), {act}).orderBy(col::Key);
}

QStringList ActWriteOff::writeOff(qint64 act, const QDateTime& when)
{
    const SqlDialect& d = m_db.dialect();
    Connection::Transaction transaction(m_db);
    QStringList onHand;
    {
        Statement out = m_db.run(
            QStringLiteral(
                "SELECT ID_Tool FROM Tools WHERE WriteOff_AKT_ID=? AND WriteOff<>%1 AND Passed=%2 ORDER BY ID")
                .arg(d.sqlTrue(), d.sqlFalse()),
            {act});
        while (out->next())
            onHand << out->value(0).toString();
    }
    if (!onHand.isEmpty())
        return onHand; // rolled back: nothing was written
    m_db.exec(QStringLiteral("UPDATE Tools SET WriteOff=%1 WHERE WriteOff_AKT_ID=?").arg(d.sqlTrue()), {act});
    m_db.exec(QStringLiteral("UPDATE AKTSpisaniya SET ADate=? WHERE ID=?"),
              {d.toStorage(FieldKind::DateTime, when), act});
    transaction.commit();
    return {};
}
