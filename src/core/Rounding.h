#pragma once

#include <cmath>

// Whole numbers from quotients and stored numbers round to the nearest, halves to even.
inline double roundHalfEven(double x) { return x - std::remainder(x, 1.0); }
