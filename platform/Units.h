// Logical units to physical pixels and back: the one rule every part of the
// program converts with, so that the window the toolkit places and the
// region a capture copies agree to the pixel by construction. A product or
// quotient with the single-precision scale is formed in double and truncated
// toward zero once; results saturate at the 32-bit range, and NaN gives 0,
// so every input, however wild, has a defined result.
#pragma once

#include <cstdint>

namespace platform::units {

// value truncated toward zero, held inside the 32-bit range; NaN gives 0.
std::int32_t Trunc(double value);

// Two lengths added unrounded and only the sum truncated toward zero: the
// one place where a sum is truncated (a title bar's whole units and a
// quotient, an offset and a position), never each part on its own.
std::int32_t TruncSum(double first, double second);

// physical = logical × scale, truncated toward zero.
std::int32_t ToPhysical(double logical, float scale);

// Two logical lengths placed end to end (an offset and a position, say):
// both products are added unrounded and only the sum is truncated.
std::int32_t ToPhysical(double first, double second, float scale);

// logical = physical ÷ scale, truncated toward zero.
std::int32_t ToLogical(double physical, float scale);

// The logical edges that stay inside a physical range when a window must lie
// within it: the quotient rounded up for a lower edge, down for an upper one.
std::int32_t ToLogicalCeil(double physical, float scale);
std::int32_t ToLogicalFloor(double physical, float scale);

} // namespace platform::units
