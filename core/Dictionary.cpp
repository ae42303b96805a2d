#include "Dictionary.h"

#include "data/Columns.h"
#include "data/Connection.h"

QString dictionaryTable(DictionaryKind kind)
{
    switch (kind) {
    case DictionaryKind::Naim:
        return col::NAIMENOVANIYA::Table;
    case DictionaryKind::Mesto:
        return col::MESTO::Table;
    case DictionaryKind::Types:
        break;
    }
    return col::TOOLTYPES::Table;
}

QStringList dictionaryEntries(Connection& connection, DictionaryKind kind)
{
    QStringList entries;
    Statement q = connection.run(Select(dictionaryTable(kind)).columns({col::Dictionary::AField}));
    while (q->next())
        entries << q->value(0).toString();
    return entries;
}
