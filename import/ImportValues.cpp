#include "ImportValues.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

std::optional<QDate> importDate(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T]\d{1,2}:\d{2}(?::\d{2}(?:\.\d+)?)?)?$)"));
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^(\d{1,2})[./](\d{1,2})[./](\d{2}|\d{4})(?: \d{1,2}:\d{2}(?::\d{2})?)?$)"));
    int y = 0, m = 0, d = 0;
    if (const auto a = iso.match(t); a.hasMatch()) {
        y = a.captured(1).toInt();
        m = a.captured(2).toInt();
        d = a.captured(3).toInt();
    } else if (const auto b = dayFirst.match(t); b.hasMatch()) {
        d = b.captured(1).toInt();
        m = b.captured(2).toInt();
        y = b.captured(3).toInt();
        // Two digits: this century up to ten years ahead, else the last one.
        if (b.captured(3).size() == 2)
            y += y <= (QDate::currentDate().year() % 100) + 10 ? 2000 : 1900;
    } else {
        return std::nullopt;
    }
    const QDate date(y, m, d);
    if (!date.isValid() || y < 1900)
        return std::nullopt;
    return date;
}

std::optional<double> importMoney(const QString& text)
{
    QString t = text.trimmed();
    for (const QString& sign : {QStringLiteral("₽"), QStringLiteral("руб."), QStringLiteral("руб"),
                                QStringLiteral("р."), QStringLiteral("RUB")}) {
        if (t.endsWith(sign, Qt::CaseInsensitive))
            t.chop(sign.size());
        if (t.startsWith(sign, Qt::CaseInsensitive))
            t.remove(0, sign.size());
    }
    t.remove(u' ');
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    if (t.isEmpty())
        return std::nullopt;
    // One mark of each kind at most: the last one is the decimal mark.
    const qsizetype comma = t.lastIndexOf(u',');
    const qsizetype dot = t.lastIndexOf(u'.');
    if (comma >= 0 && dot >= 0) {
        const QChar group = comma < dot ? u',' : u'.';
        t.remove(group);
    }
    t.replace(u',', u'.');
    static const QRegularExpression number(QStringLiteral(R"(^\d+(\.\d+)?$)"));
    if (!number.match(t).hasMatch())
        return std::nullopt;
    const double v = t.toDouble();
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}
