// The one conversion rule between logical units and physical pixels: exact
// truncation toward zero where the result fits, saturation where it does
// not, and a defined result for NaN and infinities. The sweeps show that it
// gives what each place computed before it was shared.
#include "platform/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

namespace units = platform::units;

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

// The scales FormCreate can set at the usual DPIs, and a custom 110 DPI.
const float Scales[] = {1.0f, 1.14f, 1.25f, 1.5f, 1.75f, 2.0f, 2.25f, 2.5f, 3.0f, 1.1f};

TEST(Units, TruncTable) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {0.9, 0},
        {-0.9, 0},
        {1.0, 1},
        {-3.75, -3},
        {4.9999999, 4},
        {std::numeric_limits<double>::denorm_min(), 0},
        {2147483647.0, Max},
        {2147483647.9, Max},
        {2147483648.0, Max},
        {-2147483648.0, Min},
        {-2147483648.9, Min},
        {-2147483649.0, Min},
        {1e300, Max},
        {-1e300, Min},
        {Inf, Max},
        {-Inf, Min},
        {NaN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(units::Trunc(c.value), c.expected);
    }
}

TEST(Units, ConversionTable) {
    struct Case {
        const char* what;
        std::int32_t (*convert)(double, float);
        double value;
        float scale;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"viewfinder width at 125 %", units::ToPhysical, 501, 1.25f, 626},
        {"window left at 125 %", units::ToPhysical, 200, 1.25f, 250},
        {"negative left truncates toward zero", units::ToPhysical, -3, 1.25f, -3},
        {"at 175 %", units::ToPhysical, 501, 1.75f, 876},
        {"beyond the range", units::ToPhysical, 1e10, 3.0f, Max},
        {"below the range", units::ToPhysical, -1e10, 3.0f, Min},
        {"NaN length", units::ToPhysical, NaN, 1.0f, 0},
        {"NaN scale", units::ToPhysical, 10, std::numeric_limits<float>::quiet_NaN(), 0},
        {"infinite scale", units::ToPhysical, 1, std::numeric_limits<float>::infinity(), Max},
        {"zero times infinity", units::ToPhysical, 0, std::numeric_limits<float>::infinity(), 0},
        {"typed 626 at 125 %", units::ToLogical, 626, 1.25f, 500},
        {"typed 301 at 150 %", units::ToLogical, 301, 1.5f, 200},
        {"negative quotient truncates toward zero", units::ToLogical, -5, 1.5f, -3},
        {"scale 0", units::ToLogical, 1, 0.0f, Max},
        {"scale 0, negative", units::ToLogical, -1, 0.0f, Min},
        {"0 / 0", units::ToLogical, 0, 0.0f, 0},
        {"largest pixel at half scale", units::ToLogical, Max, 0.5f, Max},
        {"ceil of a whole quotient", units::ToLogicalCeil, 1080, 1.25f, 864},
        {"ceil of a fraction", units::ToLogicalCeil, 1081, 1.25f, 865},
        {"ceil, negative", units::ToLogicalCeil, -4, 1.5f, -2},
        {"floor of a fraction", units::ToLogicalFloor, 1081, 1.25f, 864},
        {"floor, negative", units::ToLogicalFloor, -4, 1.5f, -3},
        {"ceil of infinity", units::ToLogicalCeil, Inf, 1.0f, Max},
        {"floor of NaN", units::ToLogicalFloor, NaN, 1.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.convert(c.value, c.scale), c.expected);
    }
}

TEST(Units, ASumIsTruncatedOnce) {
    // 36 × 1.1f + 5 × 1.1f = 39.6… + 5.5… = 45.1…: one truncation gives 45,
    // truncating each product first would give 44.
    EXPECT_EQ(units::ToPhysical(36, 5, 1.1f), 45);
    EXPECT_EQ(units::ToPhysical(36, -3, 1.25f), 41);
    EXPECT_EQ(units::ToPhysical(1e10, -1e10, 1.0f), 0);
    EXPECT_EQ(units::ToPhysical(1e10, 1e10, 1.0f), Max);
    EXPECT_EQ(units::ToPhysical(Inf, -Inf, 1.0f), 0) << "NaN sum";
    // The same rule for lengths already converted: a title bar's whole units
    // plus a typed height's quotient, a bar plus the kept viewfinder height.
    EXPECT_EQ(units::TruncSum(36, 0.6), 36);
    EXPECT_EQ(units::TruncSum(0.6, 0.6), 1) << "each part truncated would give 0";
    EXPECT_EQ(units::TruncSum(-0.6, -0.6), -1);
    EXPECT_EQ(units::TruncSum(36, 2147483647.0), Max);
    EXPECT_EQ(units::TruncSum(Inf, -Inf), 0) << "NaN sum";
}

// What the window placement, the capture, the tracking and the centring
// computed before they shared the rule, for every in-range input swept here.
TEST(Units, MatchesTheFormerConversionsInRange) {
    for (float scale : Scales) {
        SCOPED_TRACE(scale);
        const double s = scale;
        for (int v = -5000; v <= 5000; v += 7) {
            ASSERT_EQ(units::ToPhysical(v, scale), static_cast<int>(std::trunc(v * s))) << v;
            ASSERT_EQ(units::ToPhysical(v + 0.5, scale),
                      static_cast<int>(std::trunc((v + 0.5) * s)))
                << v;
            ASSERT_EQ(units::ToPhysical(36.0f, v, scale),
                      static_cast<int>(std::trunc(36.0 * s + double(v) * s)))
                << v;
            ASSERT_EQ(units::ToLogical(v, scale), static_cast<int>(std::trunc(v / s))) << v;
            ASSERT_EQ(units::ToLogicalCeil(v, scale), static_cast<int>(std::ceil(v / s))) << v;
            ASSERT_EQ(units::ToLogicalFloor(v, scale), static_cast<int>(std::floor(v / s))) << v;
        }
    }
}

} // namespace
