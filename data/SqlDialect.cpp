#include "SqlDialect.h"

FieldKind SqlDialect::kindOfStoreType(const QString& storeType)
{
    const QString t = storeType.trimmed().toUpper();
    if (t == u"MONEY" || t == u"DOUBLE" || t == u"REAL")
        return FieldKind::Real;
    if (t.startsWith(u"VARCHAR") || t.startsWith(u"CHAR") || t == u"MEMO" || t.startsWith(u"TEXT"))
        return FieldKind::Text;
    if (t == u"LOGICAL" || t == u"YESNO" || t == u"BIT")
        return FieldKind::Bool;
    if (t == u"DATE")
        return FieldKind::Date;
    if (t == u"TIME")
        return FieldKind::Time;
    if (t == u"DATETIME")
        return FieldKind::DateTime;
    if (t == u"INTEGER" || t == u"LONG")
        return FieldKind::Integer;
    if (t == u"LONGBINARY" || t == u"BLOB")
        return FieldKind::Blob;
    throw DbError(QStringLiteral("Unknown column type: %1").arg(storeType));
}
