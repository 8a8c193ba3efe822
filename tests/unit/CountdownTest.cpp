// The window capture's countdown on a clock that wraps.
#include "capture/Countdown.h"

#include <gtest/gtest.h>

#include <vector>

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
