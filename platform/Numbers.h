#pragma once

#include <cmath>

// Rounds to the nearest whole number with halves to the even neighbour (2.5 gives 2, 3.5 gives 4),
// as the original platform rounded the numbers a user typed and a filter computed.
inline double roundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double rest = v - lower;
    if (rest > 0.5)
        return lower + 1;
    if (rest < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
