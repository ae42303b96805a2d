#pragma once

#include <QString>

// How a memo looks: its font (height in pixels at 96 dpi, as the report
// units), frame lines and alignment. Built pages share their styles.
struct MemoStyle {
    enum class HAlign { Left, Center, Right };
    enum class VAlign { Top, Center };
    enum Frame : unsigned { NoFrame = 0, Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };

    QString fontName = QStringLiteral("Arial");
    int fontHeight = 13;
    bool bold = false;
    unsigned frames = NoFrame;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;

    bool operator==(const MemoStyle&) const = default;
};
