// Rounding to the nearest whole number with a half going to the even
// neighbour: the one rounding the window does, in its move and resize tracking
// and in the number boxes' display. Done by hand rather than with nearbyint so
// the result never depends on the floating-point environment's rounding mode.
#pragma once

namespace toolkit {

// The nearest whole number to value, a half to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Never returns negative zero; infinities and NaN pass
// through unchanged.
double RoundHalfEven(double value);

} // namespace toolkit
