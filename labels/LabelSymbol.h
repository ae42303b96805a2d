#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The symbols a label carries: Code 128 (every keyboard-wedge scanner reads
// it), QR Code and Data Matrix.
enum class LabelSymbol { Code128, Qr, DataMatrix };

// "code128", "qr", "datamatrix" as on the command line.
std::optional<LabelSymbol> labelSymbolFromName(const QString& name);
QString labelSymbolName(LabelSymbol symbol);
// "Code 128", "QR Code", "Data Matrix": for messages.
QString labelSymbolTitle(LabelSymbol symbol);
