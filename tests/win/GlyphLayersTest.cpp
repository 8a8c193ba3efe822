// Joining run patches into one caption bitmap: the offsets and the overlap
// rules are easy to get wrong by a pixel, and a wrong offset moves a glyph.
#include "toolkit/win32/GlyphLayers.h"

#include <gtest/gtest.h>

namespace {

using toolkit::win32::ComposeLayers;
using toolkit::win32::CoverageLayer;
using toolkit::win32::LayerColour;

const LayerColour Black{0, 0, 0, 1};

TEST(GlyphLayers, GreyLayersJoinIntoOneMaskThatAddsWhereTheyOverlap) {
    // 2x1 at (-1, 3) and 2x2 at (0, 3): the union is 3x2 at (-1, 3).
    const std::vector<CoverageLayer> layers{
        {-1, 3, 2, 1, {100, 200}, false, {}},
        {0, 3, 2, 2, {100, 10, 20, 30}, false, {}},
        {5, 5, 0, 0, {}, false, {}}, // blank run (a space) does not widen the bitmap
    };
    const auto bitmap = ComposeLayers(layers, 7, 9, Black);
    EXPECT_FALSE(bitmap.colour);
    EXPECT_EQ(bitmap.advance, 7);
    EXPECT_EQ(bitmap.lineHeight, 9);
    EXPECT_EQ(bitmap.offsetX, -1);
    EXPECT_EQ(bitmap.offsetY, 3);
    ASSERT_EQ(bitmap.width, 3);
    ASSERT_EQ(bitmap.height, 2);
    const std::vector<std::uint8_t> expected{100, 255, 10, 0, 20, 30};
    EXPECT_EQ(bitmap.coverage, expected);
    EXPECT_TRUE(bitmap.bgra.empty());
}

TEST(GlyphLayers, ColourLayersAreDrawnInOrderPremultiplied) {
    const std::vector<CoverageLayer> layers{
        {0, 0, 2, 1, {255, 255}, true, {1, 0, 0, 1}},    // red
        {1, 0, 2, 1, {255, 128}, true, {0, 0, 1, 0.5f}}, // half-transparent blue
        {0, 1, 1, 1, {255}, false, {}},                  // text-coloured part
    };
    const auto bitmap = ComposeLayers(layers, 3, 2, LayerColour{0, 1, 0, 1});
    ASSERT_TRUE(bitmap.colour);
    ASSERT_EQ(bitmap.width, 3);
    ASSERT_EQ(bitmap.height, 2);
    EXPECT_TRUE(bitmap.coverage.empty());
    const std::vector<std::uint32_t> expected{
        0xFFFF0000, // red alone
        0xFF800080, // blue at 0.5 over red: r 0.5, b 0.5, opaque
        0x40000040, // blue at 0.5 * 128/255 over nothing
        0xFF00FF00, // the foreground colour
        0x00000000, 0x00000000,
    };
    EXPECT_EQ(bitmap.bgra, expected);
}

TEST(GlyphLayers, NothingVisibleGivesAnEmptyBitmapWithItsBox) {
    const auto bitmap = ComposeLayers({}, 12, 20, Black);
    EXPECT_EQ(bitmap.width * bitmap.height, 0);
    EXPECT_EQ(bitmap.advance, 12);
    EXPECT_EQ(bitmap.lineHeight, 20);
}

} // namespace
