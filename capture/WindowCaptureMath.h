// The frame arithmetic of the foreground-window capture: which bounds it
// copies, and which block of the window's DC that is.
#pragma once

#include "capture/Geometry.h"

#include <cstdint>
#include <optional>

namespace capture {

struct WindowCopy {
    std::int32_t sourceX = 0; // within the window DC, whose (0,0) is the window rect's corner
    std::int32_t sourceY = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t screenX = 0; // the same block's top-left on the screen
    std::int32_t screenY = 0;
};

// The bounds a window capture copies, decided here alone: the visible frame
// where the system reports one (it does not without desktop composition, or
// when the query fails), else the window rectangle; nothing when neither is
// known (no window at all), which gives an empty image.
std::optional<ScreenRect> CaptureBounds(const std::optional<ScreenRect>& visibleFrame,
                                        const std::optional<ScreenRect>& windowRect);

// The block to copy: CaptureBounds', taken from its own offset within the
// window's DC. Nothing known gives an empty copy; an inverted rectangle
// gives zero sides.
WindowCopy VisibleFrameCopy(const std::optional<ScreenRect>& visibleFrame,
                            const std::optional<ScreenRect>& windowRect);

} // namespace capture
