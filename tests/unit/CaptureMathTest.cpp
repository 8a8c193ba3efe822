// The scale and region arithmetic a capture relies on: the whole percentage
// taken from the system DPI, and where the region under the viewfinder lies
// in physical pixels, truncated toward zero once per value.
#include "capture/CaptureMath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using capture::CaptureRegion;
using capture::RegionUnderViewfinder;

// 110 DPI gives 114 %, stored as the float nearest to 1.14.
const float Scale114 = static_cast<float>(114 / 100.0);
const float Scale110 = static_cast<float>(110 / 100.0);

TEST(CaptureMath, ScalePercentTruncatesDpiOver96) {
    struct Case {
        std::uint32_t dpi;
        std::int32_t percent;
    };
    const Case cases[] = {
        {96, 100},
        {110, 114},
        {120, 125},
        {144, 150},
        {168, 175},
        {192, 200},
        {216, 225},
        {240, 250},
        {288, 300},
        {106, 110},
        // Just below a whole percentage still truncates down.
        {97, 101},
        {95, 98},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi");
        EXPECT_EQ(capture::ScalePercentForDpi(c.dpi), c.percent);
    }
}

TEST(CaptureMath, ScaleIsThePercentageAsSinglePrecision) {
    EXPECT_EQ(capture::ScaleForPercent(100), 1.0f);
    EXPECT_EQ(capture::ScaleForPercent(125), 1.25f);
    EXPECT_EQ(capture::ScaleForPercent(114), Scale114);
    // Not 1.14 at double precision: the float sits below it.
    EXPECT_LT(double(capture::ScaleForPercent(114)), 1.14);
    EXPECT_EQ(capture::ScaleForPercent(110), Scale110);
}

TEST(CaptureMath, RegionUnderViewfinder) {
    struct Case {
        const char* name;
        int left;
        int top;
        float titleBar;
        float width;
        std::int32_t rh;
        float scale;
        CaptureRegion region;
    };
    const Case cases[] = {
        {"window at 200,100, 125 %", 200, 100, 36, 501, 332, 1.25f, {250, 170, 626, 415}},
        // 36 * 1.1f + 5 * 1.1f = 39.6000... + 5.5000... : one truncation of the
        // sum gives 45 where truncating each product would give 44.
        {"sum truncated once", 0, 5, 36, 501, 332, Scale110, {0, 45, 551, 365}},
        // -3.75 truncates toward zero.
        {"negative left", -3, 0, 36, 501, 332, 1.25f, {-3, 45, 626, 415}},
        {"negative top", 0, -3, 36, 501, 332, 1.25f, {0, 41, 626, 415}},
        {"500 units at 125 %", 0, 0, 36, 500, 0, 1.25f, {0, 45, 625, 0}},
        {"100 %", 17, 23, 36, 501, 332, 1.0f, {17, 59, 501, 332}},
        {"114 %", 11, 7, 36, 501, 332, Scale114, {12, 49, 571, 378}},
        {"viewfinder collapsed to nothing", 10, 10, 36, 1, 0, 1.0f, {10, 46, 1, 0}},
        {"width truncating to zero", 0, 0, 36, 0.5f, 332, 1.5f, {0, 54, 0, 498}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CaptureRegion r =
            RegionUnderViewfinder(c.left, c.top, c.titleBar, c.width, c.rh, c.scale);
        EXPECT_EQ(r.x, c.region.x);
        EXPECT_EQ(r.y, c.region.y);
        EXPECT_EQ(r.width, c.region.width);
        EXPECT_EQ(r.height, c.region.height);
    }
}

TEST(CaptureMath, TruncSaturatesOutsideTheIntRange) {
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(capture::Trunc(-0.9), 0);
    EXPECT_EQ(capture::Trunc(2147483647.9), Max);
    EXPECT_EQ(capture::Trunc(2147483648.0), Max);
    EXPECT_EQ(capture::Trunc(1e300), Max);
    EXPECT_EQ(capture::Trunc(-2147483648.9), Min);
    EXPECT_EQ(capture::Trunc(-1e300), Min);
    // A huge viewfinder gives a saturated size instead of an overflow.
    EXPECT_EQ(RegionUnderViewfinder(0, 0, 36, 3e9f, 0, 3.0f).width, Max);
}

} // namespace
