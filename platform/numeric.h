// The one float-to-int conversion of the program.
#pragma once

#include <cmath>
#include <climits>

// Truncates toward zero like a C cast, but is defined for every input:
// NaN gives 0 and values beyond the int range saturate at INT_MIN / INT_MAX.
constexpr int TruncInt(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}
