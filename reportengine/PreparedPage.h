#pragma once

#include "PreparedBand.h"

#include <vector>

// A built page: its bands from top to bottom.
struct PreparedPage {
    std::vector<PreparedBand> bands;
};
