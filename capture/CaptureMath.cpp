#include "capture/CaptureMath.h"

namespace capture {

namespace units = platform::units;

std::int32_t ScalePercentForDpi(std::uint32_t dpi) {
    return Trunc(double(dpi) / 96.0 * 100.0);
}

float ScaleForPercent(std::int32_t percent) {
    return static_cast<float>(percent / 100.0);
}

CaptureRegion RegionUnderViewfinder(int windowLeft, int windowTop, float titleBarHeight,
                                    float viewfinderWidth, std::int32_t rh, float scale) {
    CaptureRegion region;
    region.width = units::ToPhysical(viewfinderWidth, scale);
    region.height = units::ToPhysical(rh, scale);
    region.x = units::ToPhysical(windowLeft, scale);
    // One truncation of the sum, not of each product.
    region.y = units::ToPhysical(titleBarHeight, windowTop, scale);
    return region;
}

} // namespace capture
