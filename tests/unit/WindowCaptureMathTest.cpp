// The window capture's arithmetic: which block of the window's DC is its
// visible frame, and the countdown on a clock that wraps.
#include "capture/WindowCaptureMath.h"

#include <gtest/gtest.h>

#include <vector>

using capture::ScreenRect;
using capture::VisibleFrameCopy;

TEST(VisibleFrameCopy, StartsAtTheFramesOwnOffsetWithinTheWindow) {
    const struct {
        const char* what;
        std::optional<ScreenRect> frame;
        std::optional<ScreenRect> window;
        capture::WindowCopy expected;
    } cases[] = {
        {"invisible borders around the frame",
         ScreenRect{100, 50, 900, 650},
         ScreenRect{93, 50, 907, 657},
         {7, 0, 800, 600}},
        {"frame equals window",
         ScreenRect{10, 20, 110, 220},
         ScreenRect{10, 20, 110, 220},
         {0, 0, 100, 200}},
        {"no frame bounds: the window rectangle",
         std::nullopt,
         ScreenRect{-5, -7, 95, 93},
         {0, 0, 100, 100}},
        {"frame known, window rectangle not",
         ScreenRect{100, 50, 900, 650},
         std::nullopt,
         {0, 0, 800, 600}},
        {"no window at all", std::nullopt, std::nullopt, {0, 0, 0, 0}},
        {"zero width", ScreenRect{5, 5, 5, 50}, ScreenRect{5, 5, 5, 50}, {0, 0, 0, 45}},
        {"inverted", std::nullopt, ScreenRect{50, 50, 10, 10}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const capture::WindowCopy copy = VisibleFrameCopy(c.frame, c.window);
        EXPECT_EQ(copy.sourceX, c.expected.sourceX);
        EXPECT_EQ(copy.sourceY, c.expected.sourceY);
        EXPECT_EQ(copy.width, c.expected.width);
        EXPECT_EQ(copy.height, c.expected.height);
        if (c.frame || c.window) {
            const ScreenRect& bounds = c.frame ? *c.frame : *c.window;
            EXPECT_EQ(copy.screenX, bounds.left);
            EXPECT_EQ(copy.screenY, bounds.top);
        }
    }
}

namespace {

// A clock that moves only when the countdown sleeps, plus a few
// milliseconds for the events each pass processes.
struct FakeTime {
    explicit FakeTime(std::uint32_t start, std::uint32_t cost = 0) : now(start), eventCost(cost) {}
    std::uint32_t now;
    std::uint32_t eventCost;
    std::vector<std::uint32_t> sleeps;
    int pumps = 0;
};

bool RunWithFakeClock(FakeTime& t, int stopAfterPumps = -1) {
    return capture::RunCountdown([&] { return t.now; },
                                 [&](std::uint32_t ms) {
                                     t.sleeps.push_back(ms);
                                     t.now += ms;
                                 },
                                 [&] {
                                     t.now += t.eventCost;
                                     return ++t.pumps != stopAfterPumps;
                                 });
}

} // namespace

TEST(Countdown, LastsThreeSecondsAndAtMostOnePassMore) {
    for (std::uint32_t start : {0u, 1000u, 0xFFFFFFFFu - 1500u, 0xFFFFFFFFu - 50u, 0xFFFFFFFFu}) {
        for (std::uint32_t cost : {0u, 7u, 99u}) {
            SCOPED_TRACE(testing::Message() << start << " +" << cost);
            FakeTime t{start, cost};
            EXPECT_TRUE(RunWithFakeClock(t));
            const std::uint32_t elapsed = t.now - start;
            EXPECT_GE(elapsed, 3000u);
            EXPECT_LT(elapsed, 3000u + 100u + cost + 1);
            for (std::uint32_t ms : t.sleeps) {
                EXPECT_EQ(ms, 100u);
            }
            EXPECT_EQ(std::size_t(t.pumps), t.sleeps.size()) << "each pass sleeps, then pumps";
        }
    }
}

TEST(Countdown, StopsWhenTheProgramIsEnding) {
    FakeTime t{500};
    EXPECT_FALSE(RunWithFakeClock(t, 3));
    EXPECT_EQ(t.pumps, 3);
    EXPECT_EQ(t.now, 800u);
}

TEST(Countdown, AClockAlreadyPastTheDurationCopiesAtOnce) {
    FakeTime t{0};
    EXPECT_TRUE(capture::RunCountdown([&] { return t.now += 4000; }, [&](std::uint32_t) {},
                                      [&] { return ++t.pumps > 0; }));
    EXPECT_EQ(t.pumps, 0);
}
