// Pictures read back as another program reads them: the screen, the
// clipboard's bitmap and the held image's bytes, as 0x00RRGGBB pixels, with
// the colour comparisons the tests make of them.
#pragma once

#include "output/HeldImage.h"
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace wintest {

// A picture read back from another program's output, 0x00RRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// A copy of the primary display taken through the screen DC (what any other
// program reading the screen gets).
struct ScreenShot : Picture {
    ScreenShot();
};

// The pixels another program reads from the screen in a rectangle of
// Windows screen coordinates (which may lie left of or above the primary),
// 0x00RRGGBB, top row first.
std::vector<std::uint32_t> ScreenPixels(const RECT& r);

// The clipboard's CF_DIB as another program reads it (24- or 32-bit, either
// row order); nothing when the clipboard cannot be opened or holds no such
// picture.
std::optional<Picture> ClipboardDib();

// The header of a 32-bit bitmap whose rows run top to bottom.
BITMAPINFO TopDownRgb32(int width, int height);

// A pixel of the held image's layout (bottom-up, 24-bit) as 0x00RRGGBB,
// by picture coordinates.
std::uint32_t PixelAt(const output::ImageView& view, int x, int y);
inline std::uint32_t HeldPixel(const output::HeldImage& image, int x, int y) {
    return PixelAt(image.View(), x, y);
}

// Every pixel of a width x height picture as expected; else how many differ
// and the first one that does, in reading order, with both values.
::testing::AssertionResult SamePixels(int width, int height,
                                      const std::function<std::uint32_t(int x, int y)>& actual,
                                      const std::function<std::uint32_t(int x, int y)>& expected);

// Whether a held image holds exactly the screen pattern of the primary
// display from screen pixel (x, y) on (scripts/with-screen-pattern.sh lays
// it), white where it reaches off the display; on failure, how many pixels
// differ and where the first one lies.
::testing::AssertionResult HoldsThePatternAt(const output::HeldImage& image, int x, int y);

// True when every channel of two 0x00RRGGBB colours differs by at most tolerance.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 2);
int Luminance(std::uint32_t rgb);

} // namespace wintest
