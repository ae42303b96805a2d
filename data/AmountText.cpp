#include "AmountText.h"

#include <QList>
#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

// Digits grouped by threes after a first group of one to three; any
// character that is no digit separates groups.
bool groupedWell(const QString& integer)
{
    int run = 0;
    bool grouped = false;
    for (QChar c : integer) {
        if (isDigit(c)) {
            ++run;
            continue;
        }
        if (run == 0 || run > 3 || (grouped && run != 3))
            return false;
        grouped = true;
        run = 0;
    }
    return !grouped || run == 3;
}

// Unsigned digits, blanks and marks read with the given decimal mark (none:
// every mark groups).
std::optional<double> readWith(const QString& s, std::optional<QChar> mark)
{
    const qsizetype at = mark ? s.indexOf(*mark) : s.size();
    if (mark && s.count(*mark) != 1)
        return std::nullopt;
    const QString integer = s.left(at);
    const QString fraction = s.mid(at + 1);
    if (!std::all_of(fraction.cbegin(), fraction.cend(), isDigit))
        return std::nullopt;
    if (integer.isEmpty() ? fraction.isEmpty() : !groupedWell(integer))
        return std::nullopt;
    QString plain;
    for (QChar c : integer) {
        if (isDigit(c))
            plain += c;
    }
    bool ok = false;
    const double value = ((plain.isEmpty() ? QStringLiteral("0") : plain) + u'.' + fraction).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// The readings worth trying, most likely first.
QList<std::optional<QChar>> decimalMarks(const QString& s, const QLocale& convention)
{
    const qsizetype commas = s.count(u',');
    const qsizetype points = s.count(u'.');
    if (commas > 0 && points > 0)
        return {s.lastIndexOf(u',') > s.lastIndexOf(u'.') ? QChar(u',') : QChar(u'.')};
    if (commas + points == 0 || commas > 1 || points > 1)
        return {std::nullopt};
    const QChar mark = commas ? QChar(u',') : QChar(u'.');
    const bool beforeThree = s.size() - s.indexOf(mark) - 1 == 3;
    if (beforeThree && convention.groupSeparator() == QString(mark))
        return {std::nullopt, mark};
    return {mark};
}

} // namespace

std::optional<double> parseAmount(const QString& text, const QLocale& convention)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.startsWith(u'-');
        s.remove(0, 1);
    }
    for (QChar& c : s) {
        if (isBlank(c))
            c = u' ';
        else if (!isDigit(c) && c != u',' && c != u'.')
            return std::nullopt;
    }
    for (const std::optional<QChar>& mark : decimalMarks(s, convention)) {
        if (const std::optional<double> value = readWith(s, mark))
            return negative ? -*value : *value;
    }
    return std::nullopt;
}
