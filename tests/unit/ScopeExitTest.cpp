// A scope's exit action runs exactly once: when the scope is left normally
// or by an exception, early through reset(), never after release(), and
// once only after being handed on.
#include "platform/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct Counter {
    int runs = 0;
    auto Action() {
        return [this] { ++runs; };
    }
};

// Made in a function and returned: the caller holds the action.
auto HandedOn(Counter& counter) {
    platform::ScopeExit exit(counter.Action());
    return exit;
}

} // namespace

TEST(ScopeExit, RunsOnceWhenItsScopeIsLeftEitherWay) {
    Counter normal;
    {
        const platform::ScopeExit exit(normal.Action());
        EXPECT_TRUE(exit);
        EXPECT_EQ(normal.runs, 0) << "not before the scope ends";
    }
    EXPECT_EQ(normal.runs, 1);

    Counter thrown;
    try {
        const platform::ScopeExit exit(thrown.Action());
        throw std::runtime_error("capture failed");
    } catch (const std::runtime_error&) {
        EXPECT_EQ(thrown.runs, 1) << "run while the exception unwound the scope";
    }
    EXPECT_EQ(thrown.runs, 1);
}

TEST(ScopeExit, ResetRunsItNowAndReleaseNever) {
    Counter early;
    {
        platform::ScopeExit exit(early.Action());
        exit.reset();
        EXPECT_EQ(early.runs, 1);
        EXPECT_FALSE(exit);
        exit.reset();
        EXPECT_EQ(early.runs, 1) << "a second reset runs nothing";
    }
    EXPECT_EQ(early.runs, 1) << "nor does the end of the scope after a reset";

    Counter dismissed;
    {
        platform::ScopeExit exit(dismissed.Action());
        exit.release();
        EXPECT_FALSE(exit);
        exit.reset();
    }
    EXPECT_EQ(dismissed.runs, 0);

    Counter dismissedThrown;
    try {
        platform::ScopeExit exit(dismissedThrown.Action());
        exit.release();
        throw std::runtime_error("after release");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(dismissedThrown.runs, 0);
}

TEST(ScopeExit, HandedOnItRunsOnceWithItsLastHolder) {
    Counter counter;
    {
        auto exit = HandedOn(counter);
        EXPECT_EQ(counter.runs, 0) << "the maker's copy owed nothing";
        platform::ScopeExit moved(std::move(exit));
        EXPECT_FALSE(exit);
        EXPECT_TRUE(moved);
    }
    EXPECT_EQ(counter.runs, 1);
}
