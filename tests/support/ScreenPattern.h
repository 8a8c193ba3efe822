// The known picture that tests lay on the screen's background before a
// capture: every pixel of a 4096 x 4096 area has its own colour, so a
// capture shifted by one pixel, or one that contains anything else, cannot
// match it.
#pragma once

#include <cstdint>

namespace testpattern {

// 0x00RRGGBB at screen pixel (x, y).
inline std::uint32_t ScreenPatternAt(int x, int y) {
    const std::uint32_t r = std::uint32_t(x) & 0xFF;
    const std::uint32_t g = std::uint32_t(y) & 0xFF;
    const std::uint32_t b =
        ((std::uint32_t(x) >> 8) & 0x0F) | (((std::uint32_t(y) >> 8) & 0x0F) << 4);
    return (r << 16) | (g << 8) | b;
}

} // namespace testpattern
