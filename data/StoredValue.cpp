#include "StoredValue.h"

#include "AmountText.h"
#include "DbError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace {

// Text typed into a number column: empty means no value, and anything that is
// not a number is refused (converting it would silently store 0).
QVariant numberToStorage(FieldKind kind, const QVariant& value)
{
    const bool integer = kind == FieldKind::Integer;
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray) {
        bool ok = false;
        const QVariant v = integer ? QVariant(value.toLongLong(&ok)) : QVariant(value.toDouble(&ok));
        return ok ? v : value;
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QVariant();
    bool ok = false;
    if (integer) {
        const qlonglong n = text.toLongLong(&ok);
        if (ok)
            return n;
        const qlonglong local = QLocale().toLongLong(text, &ok);
        if (ok)
            return local;
        throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    // A decimal comma or point whatever the locale, digit groups as the
    // interface language writes them.
    if (const std::optional<double> amount = parseAmount(text))
        return *amount;
    const double d = text.toDouble(&ok);
    if (ok && qIsFinite(d))
        return d;
    throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

} // namespace

QVariant storedValue(FieldKind kind, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (kind) {
    case FieldKind::Bool:
        return value.toBool() ? 1 : 0;
    case FieldKind::Date:
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().date().toString(Qt::ISODate);
        return value.toString();
    case FieldKind::Time:
        if (value.metaType().id() == QMetaType::QTime)
            return value.toTime().toString(QStringLiteral("hh:mm:ss"));
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().time().toString(QStringLiteral("hh:mm:ss"));
        return value.toString();
    case FieldKind::DateTime:
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate) + QStringLiteral(" 00:00:00");
        return value.toString();
    case FieldKind::Integer:
    case FieldKind::Real:
        return numberToStorage(kind, value);
    case FieldKind::Blob:
        return value.toByteArray();
    case FieldKind::Text: {
        // The program writes empty texts, never NULL, for a text it was given.
        const QString s = value.toString();
        return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
    }
    }
    return value;
}
