#include "StoredDeclaration.h"

namespace {

// Length of the run starting at from that ends with the closing character
// (a doubled closing character stays inside); the rest of the text when
// it is never closed.
qsizetype quotedLength(const QString& sql, qsizetype from, QChar close)
{
    qsizetype i = from + 1;
    while (i < sql.size()) {
        if (sql.at(i) == close) {
            if (close != u']' && i + 1 < sql.size() && sql.at(i + 1) == close) {
                i += 2;
                continue;
            }
            return i + 1 - from;
        }
        ++i;
    }
    return sql.size() - from;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

} // namespace

StoredDeclaration::StoredDeclaration(const QString& sql)
{
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        qsizetype n = 1;
        Kind kind = Kind::Other;
        if (c.isSpace()) {
            while (i + n < sql.size() && sql.at(i + n).isSpace())
                ++n;
            kind = Kind::Space;
        } else if (sql.mid(i, 2) == u"--") {
            const qsizetype end = sql.indexOf(u'\n', i);
            n = (end < 0 ? sql.size() : end) - i;
            kind = Kind::Space;
        } else if (sql.mid(i, 2) == u"/*") {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            n = (end < 0 ? sql.size() : end + 2) - i;
            kind = Kind::Space;
        } else if (c == u'\'') {
            n = quotedLength(sql, i, u'\'');
            kind = Kind::Literal;
        } else if (c == u'"' || c == u'`' || c == u'[') {
            n = quotedLength(sql, i, c == u'[' ? QChar(u']') : c);
            kind = Kind::Quoted;
        } else if (isWordChar(c)) {
            while (i + n < sql.size() && isWordChar(sql.at(i + n)))
                ++n;
            kind = Kind::Word;
        }
        m_tokens.append({kind, sql.mid(i, n)});
        i += n;
    }
}

QString StoredDeclaration::Token::name() const
{
    if (kind == Kind::Word || text.size() < 2)
        return text;
    const QChar close = text.back();
    QString inner = text.mid(1, text.size() - 2);
    if (close != u']')
        inner.replace(QString(2, close), QString(close));
    return inner;
}

qsizetype StoredDeclaration::nextSignificant(qsizetype i) const
{
    ++i;
    while (i < m_tokens.size() && m_tokens.at(i).kind == Kind::Space)
        ++i;
    return i;
}

bool StoredDeclaration::isWord(qsizetype i, QLatin1StringView word) const
{
    return i < m_tokens.size() && m_tokens.at(i).kind == Kind::Word
        && m_tokens.at(i).text.compare(word, Qt::CaseInsensitive) == 0;
}

QList<qsizetype> StoredDeclaration::collationNames(const QString& name) const
{
    QList<qsizetype> found;
    for (qsizetype i = 0; i < m_tokens.size(); ++i) {
        if (!isWord(i, QLatin1StringView("COLLATE")))
            continue;
        // SQLite also takes the collation's name written as a string.
        const qsizetype n = nextSignificant(i);
        if (n < m_tokens.size() && m_tokens.at(n).kind != Kind::Other
            && m_tokens.at(n).name().compare(name, Qt::CaseInsensitive) == 0)
            found << n;
    }
    return found;
}

bool StoredDeclaration::usesCollation(const QString& name) const
{
    return !collationNames(name).isEmpty();
}

QString StoredDeclaration::withCollation(const QString& name, const QString& to) const
{
    const QList<qsizetype> names = collationNames(name);
    QString text;
    for (qsizetype k = 0; k < m_tokens.size(); ++k)
        text += names.contains(k) ? to : m_tokens.at(k).text;
    return text;
}

std::optional<QString> StoredDeclaration::withTableName(const QString& quotedName) const
{
    qsizetype i = 0;
    while (i < m_tokens.size() && m_tokens.at(i).kind == Kind::Space)
        ++i;
    if (!isWord(i, QLatin1StringView("CREATE")))
        return std::nullopt;
    i = nextSignificant(i);
    if (isWord(i, QLatin1StringView("TEMP")) || isWord(i, QLatin1StringView("TEMPORARY")))
        return std::nullopt; // never kept in the file
    if (!isWord(i, QLatin1StringView("TABLE")))
        return std::nullopt;
    i = nextSignificant(i);
    if (isWord(i, QLatin1StringView("IF"))) {
        const qsizetype notWord = nextSignificant(i);
        const qsizetype exists = nextSignificant(notWord);
        if (!isWord(notWord, QLatin1StringView("NOT")) || !isWord(exists, QLatin1StringView("EXISTS")))
            return std::nullopt;
        i = nextSignificant(exists);
    }
    const auto isName = [this](qsizetype k) {
        return k < m_tokens.size() && (m_tokens.at(k).kind == Kind::Word || m_tokens.at(k).kind == Kind::Quoted);
    };
    if (!isName(i))
        return std::nullopt;
    // A name given with its database ("main"."Tools") is replaced whole.
    qsizetype last = i;
    const qsizetype dot = nextSignificant(i);
    if (dot < m_tokens.size() && m_tokens.at(dot).text == u"." && isName(nextSignificant(dot)))
        last = nextSignificant(dot);
    QString text;
    for (qsizetype k = 0; k < m_tokens.size(); ++k) {
        if (k == i)
            text += quotedName;
        else if (k < i || k > last)
            text += m_tokens.at(k).text;
    }
    return text;
}
