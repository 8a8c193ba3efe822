#include "capture/WindowCaptureMath.h"

#include <algorithm>

namespace capture {

namespace {

std::int32_t Side(std::int64_t low, std::int64_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(high - low, 0, INT32_MAX));
}

} // namespace

std::optional<ScreenRect> CaptureBounds(const std::optional<ScreenRect>& visibleFrame,
                                        const std::optional<ScreenRect>& windowRect) {
    return visibleFrame ? visibleFrame : windowRect;
}

WindowCopy VisibleFrameCopy(const std::optional<ScreenRect>& visibleFrame,
                            const std::optional<ScreenRect>& windowRect) {
    const std::optional<ScreenRect> bounds = CaptureBounds(visibleFrame, windowRect);
    if (!bounds) {
        return {};
    }
    WindowCopy copy;
    copy.width = Side(bounds->left, bounds->right);
    copy.height = Side(bounds->top, bounds->bottom);
    copy.screenX = bounds->left;
    copy.screenY = bounds->top;
    if (windowRect) {
        copy.sourceX = bounds->left - windowRect->left;
        copy.sourceY = bounds->top - windowRect->top;
    }
    return copy;
}

} // namespace capture
