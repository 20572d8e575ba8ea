// Number conversions that never overflow.
#ifndef GLUI_SRC_NUMBERS_H
#define GLUI_SRC_NUMBERS_H

#include <climits>
#include <cmath>

namespace glui_numbers {

// Toward zero, saturated to the int range; NaN is 0.
inline int toInt(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

} // namespace glui_numbers

#endif
