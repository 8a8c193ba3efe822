// The wait between the collapse and the snapshot, on a clock that moves only
// when the compositor's flush or the pause takes time: which answers are
// trusted, which cost the pause, and that a real compositor's flush never
// does.
#include "capture/CollapseWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

using capture::FlushAnswer;
using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

struct Flush {
    FlushAnswer answer;
    microseconds takes;
};

// Answers the scripted flushes in turn; the clock moves by what each takes
// and by every pause.
struct FakeCompositor {
    explicit FakeCompositor(std::vector<Flush> script) : script(std::move(script)) {}

    std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::time_point(elapsed);
    }
    FlushAnswer Next() {
        if (asked >= script.size()) {
            ADD_FAILURE() << "flushed " << asked + 1 << " times";
            return FlushAnswer::Failed;
        }
        const Flush& flush = script[asked++];
        elapsed += flush.takes;
        return flush.answer;
    }
    void Sleep(std::uint32_t ms) {
        pauses.push_back(ms);
        elapsed += milliseconds(ms);
    }

    std::vector<Flush> script;
    std::size_t asked = 0;
    std::vector<std::uint32_t> pauses;
    std::chrono::steady_clock::duration elapsed{};
};

capture::CollapseWait Wait(FakeCompositor& compositor) {
    return capture::WaitUntilCollapseShown([&] { return compositor.Now(); },
                                           [&] { return compositor.Next(); },
                                           [&](std::uint32_t ms) { compositor.Sleep(ms); });
}

constexpr microseconds AtOnce{5};
constexpr microseconds Frame60Hz{16667};
constexpr microseconds Frame240Hz{4167};

} // namespace

TEST(WaitUntilCollapseShown, TrustsOnlyAFlushThatWaited) {
    const struct {
        const char* what;
        std::vector<Flush> script;
        std::size_t flushCalls;
        int flushesCounted;
        bool paused;
    } cases[] = {
        {"no compositor to ask (Wine 8, Windows 7 basic theme, no dwmapi)",
         {{FlushAnswer::Unavailable, AtOnce}},
         1,
         0,
         true},
        {"the flush failed", {{FlushAnswer::Failed, AtOnce}}, 1, 1, true},
        {"a composition pass at 60 Hz", {{FlushAnswer::Returned, Frame60Hz}}, 1, 1, false},
        {"a composition pass at 240 Hz", {{FlushAnswer::Returned, Frame240Hz}}, 1, 1, false},
        {"exactly the shortest wait trusted",
         {{FlushAnswer::Returned, capture::FlushThatWaited}},
         1,
         1,
         false},
        {"a slow pass on a loaded machine",
         {{FlushAnswer::Returned, microseconds(250000)}},
         1,
         1,
         false},
        {"success at once, twice (Wine 9 and later)",
         {{FlushAnswer::Returned, AtOnce}, {FlushAnswer::Returned, AtOnce}},
         2,
         2,
         true},
        {"just short of the shortest wait, twice",
         {{FlushAnswer::Returned, capture::FlushThatWaited - microseconds(1)},
          {FlushAnswer::Returned, capture::FlushThatWaited - microseconds(1)}},
         2,
         2,
         true},
        {"a pass already under way, then a whole frame",
         {{FlushAnswer::Returned, microseconds(200)}, {FlushAnswer::Returned, Frame60Hz}},
         2,
         2,
         false},
        {"at once, then failed",
         {{FlushAnswer::Returned, AtOnce}, {FlushAnswer::Failed, AtOnce}},
         2,
         2,
         true},
        {"at once, then composition turned off",
         {{FlushAnswer::Returned, AtOnce}, {FlushAnswer::Unavailable, AtOnce}},
         2,
         1,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeCompositor compositor(c.script);
        const capture::CollapseWait wait = Wait(compositor);
        EXPECT_EQ(compositor.asked, c.flushCalls);
        EXPECT_EQ(wait.flushes, c.flushesCounted);
        if (c.paused) {
            EXPECT_EQ(compositor.pauses, std::vector<std::uint32_t>{capture::PauseWithoutFlush});
            EXPECT_EQ(wait.pause, capture::PauseWithoutFlush);
        } else {
            EXPECT_TRUE(compositor.pauses.empty());
            EXPECT_EQ(wait.pause, 0u);
        }
    }
}

// The pause is the one an uncomposed desktop gets, never shortened by the
// flushes that came first, and never more than that.
TEST(WaitUntilCollapseShown, AnUntrustedFlushCostsTheWholePauseAfterIt) {
    FakeCompositor compositor(
        {{FlushAnswer::Returned, microseconds(400)}, {FlushAnswer::Returned, microseconds(400)}});
    Wait(compositor);
    EXPECT_EQ(compositor.elapsed, microseconds(800) + milliseconds(capture::PauseWithoutFlush));
}

// On a real compositor the collapse lasts at most the flushes themselves:
// up to two frames, never the pause.
TEST(WaitUntilCollapseShown, ARealCompositorCostsNoMoreThanItsPasses) {
    for (const microseconds phase : {microseconds(0), microseconds(300), Frame60Hz}) {
        SCOPED_TRACE(phase.count());
        FakeCompositor compositor(
            {{FlushAnswer::Returned, phase}, {FlushAnswer::Returned, Frame60Hz}});
        Wait(compositor);
        EXPECT_LE(compositor.elapsed, phase + Frame60Hz);
        EXPECT_TRUE(compositor.pauses.empty());
    }
}
