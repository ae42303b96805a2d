#pragma once

#include <QString>
#include <QVariantList>

class SqlDialect;

// The LIKE pattern that finds text anywhere, its own '%', '_' and '\' taken
// literally (the statements say ESCAPE '\').
QString containsPattern(const QString& text);
// The same for text at the start.
QString startsWithPattern(const QString& text);

// The condition, in brackets, that column holds text anywhere, letter case
// ignored; its pattern is appended to params. An empty text matches every
// code: leaving the LIKE out lets the engine walk the index in list order and
// stop at the first page.
QString codeContainsCondition(const SqlDialect& dialect, const QString& column, const QString& text,
                              QVariantList& params);
