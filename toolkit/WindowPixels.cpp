#include "toolkit/WindowPixels.h"

#include "platform/Units.h"

#include <algorithm>

namespace toolkit {

namespace units = platform::units;

RectI WindowPixels(int left, int top, int width, int height, double barHeight, float scale) {
    const int x = units::ToPhysical(left, scale);
    const int y = units::ToPhysical(top, scale);
    // The area below the bars starts where its own top edge truncates and is
    // as high as its own height truncates; a window lower than its bars
    // ends with them.
    const double below = std::max(0.0, double(height) - barHeight);
    const int areaTop = units::ToPhysical(top, std::min(barHeight, double(height)), scale);
    return {x, y, x + units::ToPhysical(width, scale), areaTop + units::ToPhysical(below, scale)};
}

} // namespace toolkit
