#include "capture/CaptureMath.h"

#include <cmath>

namespace capture {

std::int32_t Trunc(double value) {
    if (!(value > -2147483649.0)) {
        return INT32_MIN;
    }
    if (!(value < 2147483648.0)) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(std::trunc(value));
}

std::int32_t ScalePercentForDpi(std::uint32_t dpi) {
    return Trunc(double(dpi) / 96.0 * 100.0);
}

float ScaleForPercent(std::int32_t percent) { return static_cast<float>(percent / 100.0); }

CaptureRegion RegionUnderViewfinder(int windowLeft, int windowTop, float titleBarHeight,
                                    float viewfinderWidth, std::int32_t rh, float scale) {
    const double s = scale;
    CaptureRegion region;
    region.width = Trunc(double(viewfinderWidth) * s);
    region.height = Trunc(double(rh) * s);
    region.x = Trunc(double(windowLeft) * s);
    // One truncation of the sum, not of each product.
    region.y = Trunc(double(titleBarHeight) * s + double(windowTop) * s);
    return region;
}

} // namespace capture
