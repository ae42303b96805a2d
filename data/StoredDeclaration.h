#pragma once

#include <QList>
#include <QString>
#include <optional>

// A declaration the engine keeps as the text it was given (CREATE TABLE,
// CREATE INDEX), read into tokens so that one name in it can be changed
// without touching string literals, comments or other names.
class StoredDeclaration
{
public:
    explicit StoredDeclaration(const QString& sql);

    // True when a column or index term is declared with this collation,
    // in any quoting and letter case.
    bool usesCollation(const QString& name) const;
    // The text with every such collation named to instead.
    QString withCollation(const QString& name, const QString& to) const;
    // The text declaring the same table under another (already quoted)
    // name; none when the text is not a table's declaration.
    std::optional<QString> withTableName(const QString& quotedName) const;

private:
    enum class Kind { Space, Word, Quoted, Literal, Other };
    struct Token {
        Kind kind;
        QString text;
        // The name a word or quoted token stands for.
        QString name() const;
    };
    // The next token after index i that is not space or comment.
    qsizetype nextSignificant(qsizetype i) const;
    bool isWord(qsizetype i, QLatin1StringView word) const;
    // The tokens naming this collation after a COLLATE.
    QList<qsizetype> collationNames(const QString& name) const;

    QList<Token> m_tokens;
};
