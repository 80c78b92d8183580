#pragma once

#include "core/Rounding.h"

#include <cmath>

// Positions and sizes are kept in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
