#pragma once

#include "PreparedItem.h"
#include "TfrxBand.h"

#include <QRectF>
#include <vector>

// One band as printed on a page.
struct PreparedBand {
    TfrxBand::Kind kind = TfrxBand::Kind::MasterData;
    QRectF rect;
    // Grown to its text: a word processor may grow it further, where the
    // rows of other bands keep their printed height exactly.
    bool stretched = false;
    std::vector<PreparedItem> items;
};
