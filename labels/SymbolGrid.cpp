#include "SymbolGrid.h"

#include "LabelError.h"

#include "core/Messages.h"

#include <memory>
#include <zint.h>

namespace {

struct ZintDelete {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

bool printableAscii(const QString& code)
{
    for (const QChar c : code) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

} // namespace

SymbolGrid SymbolGrid::encode(LabelSymbol symbol, const QString& code, const Messages& texts)
{
    const bool ascii = printableAscii(code);
    if (symbol == LabelSymbol::Code128 && !ascii)
        throw LabelError(texts.rsLabelNotAscii.arg(code));
    std::unique_ptr<zint_symbol, ZintDelete> z(ZBarcode_Create());
    if (!z)
        throw std::bad_alloc();
    switch (symbol) {
    case LabelSymbol::Code128:
        z->symbology = BARCODE_CODE128;
        break;
    case LabelSymbol::Qr:
        z->symbology = BARCODE_QRCODE;
        break;
    case LabelSymbol::DataMatrix:
        z->symbology = BARCODE_DATAMATRIX;
        break;
    }
    z->input_mode = UNICODE_MODE;
    // Other than ASCII goes as UTF-8 with its ECI, so a reader types back
    // the same letters rather than guessing a character set.
    if (!ascii)
        z->eci = 26;
    const QByteArray utf8 = code.toUtf8();
    const int status = ZBarcode_Encode(z.get(), reinterpret_cast<const unsigned char*>(utf8.constData()),
                                       int(utf8.size()));
    if (status >= ZINT_ERROR)
        throw LabelError(texts.rsLabelNotEncoded.arg(code, labelSymbolTitle(symbol), QString::fromUtf8(z->errtxt)));

    SymbolGrid grid;
    grid.m_linear = symbol == LabelSymbol::Code128;
    grid.m_rows = z->rows;
    grid.m_columns = z->width;
    // Code 128 asks for 10 modules each side, QR Code for 4, Data Matrix
    // for 1: 2 leaves room for a printer's bleed.
    grid.m_quietZone = symbol == LabelSymbol::Code128 ? 10 : symbol == LabelSymbol::Qr ? 4 : 2;
    grid.m_modules.resize(std::size_t(grid.m_rows) * grid.m_columns);
    for (int r = 0; r < grid.m_rows; ++r) {
        for (int c = 0; c < grid.m_columns; ++c)
            grid.m_modules[std::size_t(r) * grid.m_columns + c] = (z->encoded_data[r][c >> 3] >> (c & 7)) & 1;
    }
    return grid;
}
