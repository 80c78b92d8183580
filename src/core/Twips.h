#pragma once

#include "core/Rounding.h"

#include <cmath>

// Positions and sizes are kept in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A screen coordinate from twips. Values beyond any screen (or no number at all) stay far
// beyond it instead of wrapping round to a place on it.
constexpr int kFarCoordinate = 30000;
inline int twipsToCoordinate(double twips)
{
    const double px = twips / kTwipsPerPixel;
    if (!(px > -kFarCoordinate))
        return -kFarCoordinate;
    if (!(px < kFarCoordinate))
        return kFarCoordinate;
    return int(std::lround(px));
}
