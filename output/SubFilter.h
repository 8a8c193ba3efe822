// Turns one stored row of the held image into a PNG scanline with the Sub
// filter: the filter-type byte 1, then for each pixel, left to right, its red,
// green and blue minus those of the pixel to its left (modulo 256; the first
// pixel unchanged). The stored row is blue, green, red per pixel; its padding
// is not read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace output {

inline constexpr std::uint8_t SubFilterType = 1;

// 1 + 3 * width, checked.
std::size_t SubScanlineSize(std::size_t width);

// Writes SubScanlineSize(width) bytes to `scanline` from 3 * width bytes of
// `storedRow`.
void BuildSubScanline(const std::uint8_t* storedRow, std::size_t width,
                      std::uint8_t* scanline) noexcept;

} // namespace output
