#pragma once

#include <QString>

// One piece of a memo text: literal words, or what a bracketed expression
// stands for.
struct TextSegment {
    enum class Kind { Literal, Field, Line, PageNumber, Date, Unknown };

    Kind kind = Kind::Literal;
    QString text; // the literal words, or the expression as written
    QString dataSet;
    QString field;
};
