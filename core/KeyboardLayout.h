#pragma once

#include <QString>

// A keyboard-wedge scanner sends key positions: with the Russian layout
// active, "U001" arrives as "Г001", and a Cyrillic code read under the Latin
// layout arrives in Latin letters. These give the text the same keys make
// under the other layout (ЙЦУКЕН and QWERTY); characters of neither layout
// stay as they are.
QString asLatinLayout(const QString& typed);
QString asCyrillicLayout(const QString& typed);
