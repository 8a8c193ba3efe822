// Row and storage sizes of the held image's layout: the padding rule, sides
// of 0, negative sides, and the largest sides a signed 32-bit size allows;
// and which stored bytes each picture row is, placed byte by byte here, since
// the crop and every screen check read their pixels through it.
#include "output/ImageView.h"

#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cstdint>
#include <limits>

namespace {

using output::DibStorageSize;
using output::DibStride;

struct SizeCase {
    std::int32_t width;
    std::int32_t height;
    std::size_t stride;
    std::size_t storage;
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.width << " x " << c.height;
}

class DibSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(DibSizeTest, PadsRowsToFourBytes) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(DibStride(c.width), c.stride);
    EXPECT_EQ(DibStorageSize(c.width, c.height), c.storage);
}

INSTANTIATE_TEST_SUITE_P(Widths, DibSizeTest,
                         testing::Values(SizeCase{1, 1, 4, 4}, SizeCase{2, 3, 8, 24},
                                         SizeCase{3, 2, 12, 24}, SizeCase{4, 5, 12, 60},
                                         SizeCase{5, 1, 16, 16}, SizeCase{626, 415, 1880, 780200},
                                         SizeCase{0, 7, 0, 0}, SizeCase{7, 0, 24, 0}));

TEST(DibSize, LargestSidesAreExactOrRejected) {
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    if constexpr (sizeof(std::size_t) >= 8) {
        // 3 * Max + 3 overflows 32 bits; the result must not wrap.
        const std::size_t stride = 6442450944u;
        EXPECT_EQ(DibStride(Max), stride);
        EXPECT_EQ(DibStorageSize(Max, Max), stride * static_cast<std::size_t>(Max));
    } else {
        EXPECT_THROW(DibStride(Max), output::ImageError);
        EXPECT_THROW(DibStorageSize(Max, Max), output::ImageError);
    }
}

TEST(DibSize, NegativeSidesAreRejected) {
    EXPECT_THROW(DibStride(-1), output::ImageError);
    EXPECT_THROW(DibStorageSize(-1, 1), output::ImageError);
    EXPECT_THROW(DibStorageSize(1, -1), output::ImageError);
    EXPECT_THROW(DibStorageSize(0, std::numeric_limits<std::int32_t>::min()), output::ImageError);
}

// 2 x 3 pixels: rows of 6 bytes padded to 8, the bottom row stored first.
// Each stored byte is its own offset, so a row is found by its first byte.
TEST(PictureRow, TheTopRowIsStoredLastAndEachRowStartsOnItsStride) {
    std::array<std::uint8_t, 24> bits{};
    for (std::size_t i = 0; i < bits.size(); ++i) {
        bits[i] = std::uint8_t(i);
    }
    const output::ImageView image{2, 3, bits.data()};
    const output::PixelView pixels{2, 3, bits.data()};
    // Picture row y starts at byte (3 - 1 - y) * 8.
    const std::size_t firstByte[] = {16, 8, 0};
    for (std::int32_t y = 0; y < 3; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(output::PictureRow(image, y) - bits.data(), std::ptrdiff_t(firstByte[y]));
        EXPECT_EQ(output::PictureRow(pixels, y) - bits.data(), std::ptrdiff_t(firstByte[y]));
        EXPECT_EQ(output::PictureRow(image, y)[0], firstByte[y]);
        // Blue, green, red of the row's second pixel.
        EXPECT_EQ(output::PictureRow(image, y)[3], firstByte[y] + 3);
        EXPECT_EQ(output::PictureRow(image, y)[5], firstByte[y] + 5);
    }
}

TEST(PictureRow, WritesThroughThePixelViewLandOnTheStoredRow) {
    // 1 x 2 pixels: rows of 3 bytes padded to 4.
    std::array<std::uint8_t, 8> bits{};
    const output::PixelView pixels{1, 2, bits.data()};
    std::uint8_t* top = output::PictureRow(pixels, 0);
    top[0] = 0x11;                           // blue
    top[2] = 0x33;                           // red
    output::PictureRow(pixels, 1)[1] = 0x22; // the bottom row's green
    const std::array<std::uint8_t, 8> stored = {0x00, 0x22, 0x00, 0x00, 0x11, 0x00, 0x33, 0x00};
    EXPECT_EQ(bits, stored);
}

} // namespace
