#include "ValueText.h"

#include "data/FieldText.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace ValueText {

namespace {

// A value from a text column read as a date or a time, for a date-time
// display format.
QString asDateTime(const QString& s, const QString& pattern)
{
    const QString t = s.trimmed();
    for (const char* f : {"hh:mm:ss", "hh:mm", "h:mm:ss", "h:mm"}) {
        const QTime time = QTime::fromString(t, QLatin1String(f));
        if (time.isValid())
            return time.toString(pattern);
    }
    QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (!dt.isValid())
        dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (dt.isValid())
        return dt.toString(pattern);
    const QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (d.isValid())
        return d.toString(pattern);
    return s;
}

} // namespace

QString format(const QVariant& value, FieldKind kind, const DisplayFormat& fmt)
{
    if (value.isNull())
        return {};
    const bool pattern = fmt.kind == DisplayFormat::Kind::DateTime && !fmt.formatStr.isEmpty();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(pattern ? fmt.formatStr : QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QTime:
        return value.toTime().toString(pattern ? fmt.formatStr : QStringLiteral("hh:mm:ss"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(pattern ? fmt.formatStr : QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    default:
        break;
    }
    if (!pattern)
        return fieldText(value, kind);
    switch (kind) {
    case FieldKind::Date:
    case FieldKind::Time:
    case FieldKind::DateTime:
        return fieldText(value, kind, fmt.formatStr);
    case FieldKind::Text:
        return asDateTime(value.toString(), fmt.formatStr);
    default:
        return fieldText(value, kind);
    }
}

bool isZero(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok) // a stored text in either decimal notation
        v = QString(t).replace(u',', u'.').toDouble(&ok);
    return ok && v == 0;
}

} // namespace ValueText
