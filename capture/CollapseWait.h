// The wait between collapsing the window and taking the snapshot. The screen
// shows the collapse only some time after the window is shrunk: with desktop
// composition one composed frame later, under X once the window manager has
// applied it (about 20 ms; a snapshot taken at once still holds the
// viewfinder). Where composition is on, DwmFlush returns once a composition
// pass has shown what was drawn before the call, and the window need stay
// collapsed no longer than that. But a flush is not taken at its word:
// Wine 9 and later report composition on and return from DwmFlush at once,
// having waited for nothing. So the flush is timed:
//
//   flush unavailable (no composition, no dwmapi) -> pause
//   flush failed                                  -> pause
//   flush waited like a frame                     -> done
//   flush returned at once                        -> flush again, and
//       second waited like a frame                -> done
//       second returned at once or failed         -> pause
//
// A flush that returns at once may still be a real one whose pass was just
// due; a second flush tells the two apart, since on a real compositor it
// waits a whole frame. So a real compositor keeps the window collapsed for
// at most two of its frames, and only a flush that never waits costs the
// pause.
//
// Portable, with the flush, the clock and the sleep given, so the decision
// is tested on any clock.
#pragma once

#include "platform/CompositionFlush.h"

#include <chrono>
#include <cstdint>

namespace capture {

using platform::FlushAnswer;

// The pause where no flush can be trusted: ample for an X window manager on
// a loaded machine, as for an uncomposed Windows desktop.
inline constexpr std::uint32_t PauseWithoutFlush = 100; // milliseconds

// A flush that returns sooner than this did not wait for a frame: the
// frames of the fastest displays made (500 Hz) last 2 ms, and a second
// flush after a real one waits a whole frame. A flush that waits for
// nothing returns within microseconds.
inline constexpr std::chrono::microseconds FlushThatWaited{1000};

// What the wait did, for tests and measurements.
struct CollapseWait {
    int flushes = 0;         // flushes the compositor answered
    std::uint32_t pause = 0; // milliseconds slept besides the flushes
};

// Waits until the screen shows the collapse. `now()` returns a
// std::chrono time point or duration, `flush()` a FlushAnswer, and
// `sleep(ms)` pauses.
template <typename Clock, typename Flush, typename Sleep>
CollapseWait WaitUntilCollapseShown(Clock&& now, Flush&& flush, Sleep&& sleep) {
    CollapseWait wait;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto start = now();
        const FlushAnswer answer = flush();
        const auto took = now() - start;
        if (answer != FlushAnswer::Unavailable) {
            ++wait.flushes;
        }
        if (answer != FlushAnswer::Returned) {
            break;
        }
        if (took >= FlushThatWaited) {
            return wait;
        }
    }
    wait.pause = PauseWithoutFlush;
    sleep(wait.pause);
    return wait;
}

} // namespace capture
