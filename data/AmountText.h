#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// A money amount typed by hand, read whatever the system locale: a decimal
// comma or point, digits grouped by blanks (plain or no-break) or by the
// other mark ("1 234,50", "1,234.50", "1.234,50"). A single mark before
// exactly three digits groups them only where the convention groups with it
// (English "1,234" is 1234; Russian "1,234" is 1.234). Anything else, and
// misplaced groups, gives no value.
std::optional<double> parseAmount(const QString& text, const QLocale& convention = QLocale());
