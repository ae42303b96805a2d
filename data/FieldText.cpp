#include "FieldText.h"

#include "MoneyText.h"
#include "Query.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

QString fieldText(const QVariant& v, FieldKind kind, const QString& format)
{
    if (v.isNull())
        return {};
    switch (kind) {
    case FieldKind::Date: {
        const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
        return d.isValid() ? d.toString(format.isEmpty() ? QStringLiteral("dd.MM.yyyy") : format) : v.toString();
    }
    case FieldKind::Time: {
        const QString s = v.toString();
        const QTime t = QTime::fromString(s.size() > 8 ? s.right(8) : s, QStringLiteral("hh:mm:ss"));
        return t.isValid() ? t.toString(format.isEmpty() ? QStringLiteral("hh:mm:ss") : format) : s;
    }
    case FieldKind::DateTime: {
        const QDateTime dt = QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        if (!dt.isValid())
            return v.toString();
        return dt.toString(format.isEmpty() ? QStringLiteral("dd.MM.yyyy hh:mm:ss") : format);
    }
    case FieldKind::Real:
        return amountText(v.toDouble(), QLocale()); // the interface language's, set at sign-in
    case FieldKind::Bool: {
        const auto b = Query::parseBool(v);
        return b ? (*b ? QStringLiteral("True") : QStringLiteral("False")) : QString();
    }
    case FieldKind::Blob:
        return QStringLiteral("(BLOB)");
    case FieldKind::Integer:
    case FieldKind::Text:
        break;
    }
    return v.toString();
}
