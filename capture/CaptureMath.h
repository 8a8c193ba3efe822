// The arithmetic of the display scale and of the region a capture copies.
// Every conversion goes through platform/Units, the rule the toolkit places
// the window with, so the window placement and the capture agree to the
// pixel.
#pragma once

#include "platform/Units.h"

#include <cstdint>

namespace capture {

using platform::units::Trunc;

// The system scale as a whole percentage: dpi / 96 * 100, truncated.
std::int32_t ScalePercentForDpi(std::uint32_t dpi);

// Scale stored as a 32-bit float: percent / 100.
float ScaleForPercent(std::int32_t percent);

struct CaptureRegion {
    std::int32_t x = 0; // itix: physical x of the region's left edge
    std::int32_t y = 0; // itiy: physical y of the region's top edge
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The physical region under the viewfinder: the window's logical left and
// top, the title bar's height, the viewfinder's width and its height already
// truncated to whole units (rh).
CaptureRegion RegionUnderViewfinder(int windowLeft, int windowTop, float titleBarHeight,
                                    float viewfinderWidth, std::int32_t rh, float scale);

} // namespace capture
