// The picture that the second window of the end-to-end run shows, so that a
// window capture can be told apart from the screen pattern behind it and
// checked pixel for pixel.
#pragma once

#include <cstdint>

namespace testpattern {

// 0x00RRGGBB at pixel (x, y) of the window's client area.
inline std::uint32_t RoadPictureAt(int x, int y) {
    const std::uint32_t r = std::uint32_t(x * 7 + y * 3) & 0xFF;
    const std::uint32_t g = (std::uint32_t(y) * 5 + 0x40) & 0xFF;
    const std::uint32_t b = (std::uint32_t(x) ^ (std::uint32_t(y) << 1) ^ 0xA5) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

} // namespace testpattern
