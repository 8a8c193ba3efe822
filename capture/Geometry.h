// Rectangles on the screen in physical pixels, as the capture code passes
// them between its Windows and portable parts.
#pragma once

#include <cstdint>

namespace capture {

// [left, right) x [top, bottom) in screen coordinates; the primary display's
// top-left corner is (0, 0), so other displays may lie at negative ones.
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

} // namespace capture
