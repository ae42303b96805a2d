#pragma once

#include <QString>

// The LIKE pattern that finds text anywhere, its own '%', '_' and '\' taken
// literally (the statements say ESCAPE '\').
QString containsPattern(const QString& text);
