#include "LabelSymbol.h"

std::optional<LabelSymbol> labelSymbolFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == u"code128")
        return LabelSymbol::Code128;
    if (n == u"qr")
        return LabelSymbol::Qr;
    if (n == u"datamatrix")
        return LabelSymbol::DataMatrix;
    return std::nullopt;
}

QString labelSymbolName(LabelSymbol symbol)
{
    switch (symbol) {
    case LabelSymbol::Code128:
        return QStringLiteral("code128");
    case LabelSymbol::Qr:
        return QStringLiteral("qr");
    case LabelSymbol::DataMatrix:
        break;
    }
    return QStringLiteral("datamatrix");
}

QString labelSymbolTitle(LabelSymbol symbol)
{
    switch (symbol) {
    case LabelSymbol::Code128:
        return QStringLiteral("Code 128");
    case LabelSymbol::Qr:
        return QStringLiteral("QR Code");
    case LabelSymbol::DataMatrix:
        break;
    }
    return QStringLiteral("Data Matrix");
}
