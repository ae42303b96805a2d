#include "Dictionary.h"

#include "data/Connection.h"

QString dictionaryTable(DictionaryKind kind)
{
    switch (kind) {
    case DictionaryKind::Naim:
        return QStringLiteral("NAIMENOVANIYA");
    case DictionaryKind::Mesto:
        return QStringLiteral("MESTO");
    case DictionaryKind::Types:
        break;
    }
    return QStringLiteral("TOOLTYPES");
}

QStringList dictionaryEntries(Connection& connection, DictionaryKind kind)
{
    QStringList entries;
    Statement q = connection.run(QStringLiteral("SELECT AField FROM %1").arg(dictionaryTable(kind)));
    while (q->next())
        entries << q->value(0).toString();
    return entries;
}
