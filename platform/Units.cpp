#include "platform/Units.h"

#include <cmath>

namespace platform::units {

namespace {

// 2^31 and -2^31 - 1: every double strictly between them truncates into the
// 32-bit range.
constexpr double Above = 2147483648.0;
constexpr double Below = -2147483649.0;

std::int32_t Saturate(double whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    if (!(whole < Above)) {
        return INT32_MAX;
    }
    if (!(whole > Below)) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(whole);
}

} // namespace

std::int32_t Trunc(double value) {
    return Saturate(std::trunc(value));
}

std::int32_t TruncSum(double first, double second) {
    return Trunc(first + second);
}

std::int32_t ToPhysical(double logical, float scale) {
    return Trunc(logical * double(scale));
}

std::int32_t ToPhysical(double first, double second, float scale) {
    const double s = scale;
    return TruncSum(first * s, second * s);
}

std::int32_t ToLogical(double physical, float scale) {
    return Trunc(physical / double(scale));
}

std::int32_t ToLogicalCeil(double physical, float scale) {
    return Saturate(std::ceil(physical / double(scale)));
}

std::int32_t ToLogicalFloor(double physical, float scale) {
    return Saturate(std::floor(physical / double(scale)));
}

} // namespace platform::units
