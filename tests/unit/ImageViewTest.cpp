// Row and storage sizes of the held image's layout: the padding rule, sides
// of 0, negative sides, and the largest sides a signed 32-bit size allows.
#include "output/ImageView.h"

#include <gtest/gtest.h>

#include <ostream>

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

} // namespace
