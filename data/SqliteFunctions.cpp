#include "SqliteFunctions.h"

#include "SqliteDialect.h"

#include <QString>
#include <sqlite3.h>

namespace {

bool isAscii(const char* s, int n)
{
    for (int i = 0; i < n; ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    }
    return true;
}

unsigned char asciiFold(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return caselessCompare(static_cast<const char*>(a), lengthA, static_cast<const char*>(b), lengthB);
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!pattern || !text) {
        sqlite3_result_null(context);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const auto* esc = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
        if (!esc) { // as SQLite's LIKE: a NULL escape gives NULL
            sqlite3_result_null(context);
            return;
        }
        const QList<uint> e = QString::fromUtf8(esc).toUcs4();
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(context, caselessLike(pattern, text, escape) ? 1 : 0);
}

} // namespace

int caselessCompare(const char* a, int lengthA, const char* b, int lengthB)
{
    if (isAscii(a, lengthA) && isAscii(b, lengthB)) {
        const int n = std::min(lengthA, lengthB);
        for (int i = 0; i < n; ++i) {
            const unsigned char ca = asciiFold(static_cast<unsigned char>(a[i]));
            const unsigned char cb = asciiFold(static_cast<unsigned char>(b[i]));
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }
    // Folded UTF-16 order agrees with the ASCII path above for ASCII text.
    const QString fa = QString::fromUtf8(a, lengthA).toCaseFolded();
    const QString fb = QString::fromUtf8(b, lengthB).toCaseFolded();
    const int c = QString::compare(fa, fb, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool caselessLike(const char* patternUtf8, const char* textUtf8, char32_t escape)
{
    // Code points, so '_' takes one letter whatever its UTF-8 length. The
    // pattern is folded letter by letter: the escape character must keep its
    // exact case, as in SQLite's own LIKE.
    const QList<uint> pattern = QString::fromUtf8(patternUtf8).toUcs4();
    const QList<uint> text = QString::fromUtf8(textUtf8).toCaseFolded().toUcs4();
    const auto fold = [](uint c) { return QChar::toCaseFolded(static_cast<char32_t>(c)); };
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const uint c = pattern.at(p);
            if (escape && c == escape) {
                if (p + 1 < pattern.size() && fold(pattern.at(p + 1)) == text.at(t)) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (c == u'%') {
                starP = ++p;
                starT = t;
                continue;
            } else if (c == u'_' || fold(c) == text.at(t)) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern.at(p) == u'%')
        ++p;
    return p == pattern.size();
}

bool registerSqliteFunctions(sqlite3* handle)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = sqlite3_create_collation(handle, SqliteDialect::kCaseless, SQLITE_UTF8, nullptr, collate) == SQLITE_OK;
    ok = ok && sqlite3_create_function(handle, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_create_function(handle, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
    return ok;
}
