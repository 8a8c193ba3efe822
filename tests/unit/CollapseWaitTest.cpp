// The wait between the collapse and the snapshot, against a compositor whose
// frame counters move only when a flush composes, and a clock that moves
// when a flush or the pause takes time: which answers are trusted, which
// cost the pause, that a flush is never believed for the time it took, and
// that a real compositor's flush never costs the pause.
#include "capture/CollapseWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

using capture::CompositionFrames;
using capture::FlushAnswer;
using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

// What the counters do across a flush.
enum class Counters {
    Still,         // no frame composed (Wine 9 and later keep both at 0)
    FrameAdvanced, // a frame composed
    RefreshOnly,   // only the refresh count moved (a pass on the next refresh)
    Unreadable,    // the timing call is missing or fails
};

struct Flush {
    FlushAnswer answer;
    microseconds takes;
    Counters counters;
};

// Answers the scripted flushes in turn; the counters move as each says, the
// clock by what each takes and by every pause.
struct FakeCompositor {
    explicit FakeCompositor(std::vector<Flush> script) : script(std::move(script)) {}

    std::optional<CompositionFrames> Frames() const {
        if (readable) {
            return frames;
        }
        return std::nullopt;
    }
    FlushAnswer Next() {
        if (asked >= script.size()) {
            ADD_FAILURE() << "flushed " << asked + 1 << " times";
            return FlushAnswer::Failed;
        }
        const Flush& flush = script[asked++];
        elapsed += flush.takes;
        readable = flush.counters != Counters::Unreadable;
        if (flush.counters == Counters::FrameAdvanced) {
            ++frames.frame;
            ++frames.refresh;
        } else if (flush.counters == Counters::RefreshOnly) {
            ++frames.refresh;
        }
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
    CompositionFrames frames{1000, 2000};
    bool readable = true;
};

capture::CollapseWait Wait(FakeCompositor& compositor) {
    return capture::WaitUntilCollapseShown([&] { return compositor.Frames(); },
                                           [&] { return compositor.Next(); },
                                           [&](std::uint32_t ms) { compositor.Sleep(ms); });
}

constexpr microseconds AtOnce{5};
constexpr microseconds Frame60Hz{16667};
constexpr microseconds Frame240Hz{4167};

} // namespace

TEST(WaitUntilCollapseShown, TrustsOnlyAFlushAcrossWhichTheCompositorComposed) {
    const struct {
        const char* what;
        std::vector<Flush> script;
        std::size_t flushCalls;
        int flushesCounted;
        bool paused;
    } cases[] = {
        {"no compositor to ask (Wine 8, Windows 7 basic theme, no dwmapi)",
         {{FlushAnswer::Unavailable, AtOnce, Counters::Still}},
         1,
         0,
         true},
        {"the flush failed", {{FlushAnswer::Failed, AtOnce, Counters::Still}}, 1, 1, true},
        {"a composition pass at 60 Hz",
         {{FlushAnswer::Returned, Frame60Hz, Counters::FrameAdvanced}},
         1,
         1,
         false},
        {"a composition pass at 240 Hz, only the refresh counted",
         {{FlushAnswer::Returned, Frame240Hz, Counters::RefreshOnly}},
         1,
         1,
         false},
        {"a pass that composed at once",
         {{FlushAnswer::Returned, AtOnce, Counters::FrameAdvanced}},
         1,
         1,
         false},
        {"a slow pass on a loaded machine",
         {{FlushAnswer::Returned, microseconds(250000), Counters::FrameAdvanced}},
         1,
         1,
         false},
        {"success at once, twice, counters still (Wine 9 and later)",
         {{FlushAnswer::Returned, AtOnce, Counters::Still},
          {FlushAnswer::Returned, AtOnce, Counters::Still}},
         2,
         2,
         true},
        {"success after 3 ms, twice, composing nothing (Wine 10 on a loaded machine)",
         {{FlushAnswer::Returned, microseconds(3000), Counters::Still},
          {FlushAnswer::Returned, microseconds(3000), Counters::Still}},
         2,
         2,
         true},
        {"a whole frame's wait, twice, composing nothing",
         {{FlushAnswer::Returned, Frame60Hz, Counters::Still},
          {FlushAnswer::Returned, Frame60Hz, Counters::Still}},
         2,
         2,
         true},
        {"flushes that wait, with no counters to read",
         {{FlushAnswer::Returned, Frame60Hz, Counters::Unreadable},
          {FlushAnswer::Returned, Frame60Hz, Counters::Unreadable}},
         2,
         2,
         true},
        {"a pass already under way, then a whole frame",
         {{FlushAnswer::Returned, microseconds(200), Counters::Still},
          {FlushAnswer::Returned, Frame60Hz, Counters::FrameAdvanced}},
         2,
         2,
         false},
        {"at once, then failed",
         {{FlushAnswer::Returned, AtOnce, Counters::Still},
          {FlushAnswer::Failed, AtOnce, Counters::Still}},
         2,
         2,
         true},
        {"at once, then composition turned off",
         {{FlushAnswer::Returned, AtOnce, Counters::Still},
          {FlushAnswer::Unavailable, AtOnce, Counters::Still}},
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

// Counters that were readable before a flush but not after it (or the
// other way round) say nothing of a pass.
TEST(WaitUntilCollapseShown, CountersReadOnOneSideOnlyAreNotTrusted) {
    const std::optional<CompositionFrames> some = CompositionFrames{5, 5};
    const std::optional<CompositionFrames> later = CompositionFrames{6, 6};
    EXPECT_TRUE(capture::Composed(some, later));
    EXPECT_FALSE(capture::Composed(std::nullopt, later));
    EXPECT_FALSE(capture::Composed(some, std::nullopt));
    EXPECT_FALSE(capture::Composed(later, some)) << "counters that went back";
    EXPECT_FALSE(capture::Composed(some, some));
}

// The pause is the one an uncomposed desktop gets, never shortened by the
// flushes that came first, and never more than that.
TEST(WaitUntilCollapseShown, AnUntrustedFlushCostsTheWholePauseAfterIt) {
    FakeCompositor compositor({{FlushAnswer::Returned, microseconds(400), Counters::Still},
                               {FlushAnswer::Returned, microseconds(400), Counters::Still}});
    Wait(compositor);
    EXPECT_EQ(compositor.elapsed, microseconds(800) + milliseconds(capture::PauseWithoutFlush));
}

// On a real compositor the collapse lasts at most the flushes themselves:
// up to two frames, never the pause.
TEST(WaitUntilCollapseShown, ARealCompositorCostsNoMoreThanItsPasses) {
    for (const microseconds phase : {microseconds(0), microseconds(300), Frame60Hz}) {
        SCOPED_TRACE(phase.count());
        FakeCompositor compositor({{FlushAnswer::Returned, phase, Counters::Still},
                                   {FlushAnswer::Returned, Frame60Hz, Counters::FrameAdvanced}});
        Wait(compositor);
        EXPECT_LE(compositor.elapsed, phase + Frame60Hz);
        EXPECT_TRUE(compositor.pauses.empty());
    }
}
