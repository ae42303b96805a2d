#pragma once

#include <cmath>

// Report units are pixels at 96 dpi: 3.7795 per millimetre, 15 twips each.
namespace ReportUnits {

constexpr double kPerMm = 96.0 / 25.4;
constexpr double kTwipsPerUnit = 15.0;
constexpr double kDpi = 96.0;

constexpr double fromMm(double mm)
{
    return mm * kPerMm;
}

constexpr double toMm(double units)
{
    return units / kPerMm;
}

inline int toTwips(double units)
{
    return static_cast<int>(std::lround(units * kTwipsPerUnit));
}

} // namespace ReportUnits
