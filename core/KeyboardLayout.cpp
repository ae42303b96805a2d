#include "KeyboardLayout.h"

#include <QHash>
#include <iterator>

namespace {

// The same keys on the two layouts: unshifted, then shifted.
const char16_t kLatin[] = u"qwertyuiop[]asdfghjkl;'zxcvbnm,.`/QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>~?";
const char16_t kCyrillic[] = u"йцукенгшщзхъфывапролджэячсмитьбюё.ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ,";

struct Maps {
    QHash<QChar, QChar> toLatin;
    QHash<QChar, QChar> toCyrillic;
};

const Maps& maps()
{
    static const Maps m = [] {
        Maps built;
        static_assert(std::size(kLatin) == std::size(kCyrillic));
        for (int i = 0; kLatin[i]; ++i) {
            built.toLatin.insert(QChar(kCyrillic[i]), QChar(kLatin[i]));
            built.toCyrillic.insert(QChar(kLatin[i]), QChar(kCyrillic[i]));
        }
        return built;
    }();
    return m;
}

QString mapped(const QString& typed, const QHash<QChar, QChar>& map)
{
    QString out = typed;
    for (QChar& c : out)
        c = map.value(c, c);
    return out;
}

} // namespace

QString asLatinLayout(const QString& typed)
{
    return mapped(typed, maps().toLatin);
}

QString asCyrillicLayout(const QString& typed)
{
    return mapped(typed, maps().toCyrillic);
}
