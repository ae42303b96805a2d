#pragma once

#include <QString>
#include <QVariantList>

class Connection;

// The tools a recipient holds: issued (not in the store) with the
// recipient's key as holder.
struct HeldToolsStatement {
    QString sql;
    QVariantList params;
};

// Every column of the held tools, by type.
HeldToolsStatement heldToolsStatement(const Connection& db, const QString& holderKey);

// How many tools the recipient with this key holds. Throws DbError.
int heldToolCount(Connection& db, const QString& holderKey);
