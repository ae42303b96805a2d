#pragma once

#include "LabelSymbol.h"

#include <QString>
#include <vector>

struct Messages;

// A symbol as its grid of modules, encoded by Zint: a linear symbol is one
// row of bars (each column a module), a 2D symbol rows x columns of cells.
class SymbolGrid
{
public:
    // Throws LabelError naming the code and what to do: Code 128 carries
    // printable ASCII only; a code the symbol cannot hold at all.
    static SymbolGrid encode(LabelSymbol symbol, const QString& code, const Messages& texts);

    bool linear() const { return m_linear; }
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    bool dark(int row, int column) const { return m_modules[std::size_t(row) * m_columns + column]; }
    // Light modules kept on each side (and above and below a 2D symbol).
    int quietZone() const { return m_quietZone; }

private:
    bool m_linear = true;
    int m_rows = 0;
    int m_columns = 0;
    int m_quietZone = 0;
    std::vector<bool> m_modules;
};
