// Sub scanlines built from stored blue-green-red rows: the filter-type byte,
// the reversal to red-green-blue, differences modulo 256, and a first pixel
// taken unchanged.
#include "output/SubFilter.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ScanlineCase {
    const char* name;
    Bytes storedRow; // blue, green, red per pixel, then padding
    std::size_t width;
    Bytes scanline;
};

void PrintTo(const ScanlineCase& c, std::ostream* out) {
    *out << c.name;
}

class SubScanlineTest : public testing::TestWithParam<ScanlineCase> {};

TEST_P(SubScanlineTest, FiltersOneRow) {
    const ScanlineCase& c = GetParam();
    Bytes scanline(output::SubScanlineSize(c.width), 0xEE);
    output::BuildSubScanline(c.storedRow.data(), c.width, scanline.data());
    EXPECT_EQ(scanline, c.scanline);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SubScanlineTest,
    testing::Values(
        // (10, 20, 30) then (15, 20, 25), as red, green, blue
        ScanlineCase{"TwoPixels",
                     {30, 20, 10, 25, 20, 15, 0xA5, 0xA5},
                     2,
                     {0x01, 0x0A, 0x14, 0x1E, 0x05, 0x00, 0xFB}},
        ScanlineCase{"OnePixel", {0x33, 0x22, 0x11, 0xA5}, 1, {0x01, 0x11, 0x22, 0x33}},
        // 0 - 255 and 255 - 0 wrap around
        ScanlineCase{"Wraps",
                     {255, 0, 0, 0, 255, 0, 0, 0, 255, 0xA5, 0xA5, 0xA5},
                     3,
                     {0x01, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x01, 0xFF, 0x01, 0x00}},
        ScanlineCase{"FlatRowIsZeros",
                     {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9},
                     4,
                     {0x01, 9, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const testing::TestParamInfo<ScanlineCase>& info) { return info.param.name; });

} // namespace
