// Half-to-even rounding built from round() (half away from zero), which does
// not read the rounding mode, plus an exact test for the tie.
#include "toolkit/RoundHalfEven.h"

#include <cmath>

namespace toolkit {

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    // value - trunc(value) is exact for every double, so a tie is seen exactly.
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        // value / 2 lies a quarter past a whole number; its nearest whole
        // number doubled is the even neighbour of value.
        rounded = 2.0 * std::round(value / 2.0);
    }
    if (rounded == 0.0) {
        return 0.0; // also for -0.0, so no "-0" is ever shown
    }
    return rounded;
}

} // namespace toolkit
