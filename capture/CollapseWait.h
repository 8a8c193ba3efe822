// The wait between collapsing the window and taking the snapshot. The screen
// shows the collapse only some time after the window is shrunk: with desktop
// composition one composed frame later, under X once the window manager has
// applied it (about 20 ms; a snapshot taken at once still holds the
// viewfinder). Where composition is on, DwmFlush returns once a composition
// pass has shown what was drawn before the call, and the window need stay
// collapsed no longer than that. But a flush is not taken at its word, nor
// at the time it took: Wine 9 and later report composition on and return
// from DwmFlush having composed nothing, at once or, on a loaded machine,
// milliseconds later. A flush counts only when the compositor's own frame
// counters (DwmGetCompositionTimingInfo: composed frames, refreshes) moved
// across it:
//
//   flush unavailable (no composition, no dwmapi) -> pause
//   flush failed                                  -> pause
//   counters advanced across the flush            -> done
//   counters still, unreadable or missing         -> flush again, and
//       counters advanced across the second       -> done
//       else                                      -> pause
//
// A real compositor's flush always waits for a pass, so its counters move;
// the second flush is for a pass that was already under way when the
// counters were read. So a real compositor keeps the window collapsed for at
// most two of its frames, and only a flush that composes nothing costs the
// pause. (Wine 10 answers the timing call with both counters 0, always.)
//
// Portable, with the counters, the flush and the sleep given, so the
// decision is tested on any compositor.
#pragma once

#include "platform/CompositionFlush.h"

#include <cstdint>
#include <optional>

namespace capture {

using platform::CompositionFrames;
using platform::FlushAnswer;

// The pause where no flush can be trusted: ample for an X window manager on
// a loaded machine, as for an uncomposed Windows desktop.
inline constexpr std::uint32_t PauseWithoutFlush = 100; // milliseconds

// Whether the compositor composed between the two readings.
inline bool Composed(const std::optional<CompositionFrames>& before,
                     const std::optional<CompositionFrames>& after) {
    return before && after && (after->frame > before->frame || after->refresh > before->refresh);
}

// What the wait did, for tests and measurements.
struct CollapseWait {
    int flushes = 0;         // flushes the compositor answered
    std::uint32_t pause = 0; // milliseconds slept besides the flushes
};

// Waits until the screen shows the collapse. `frames()` returns the
// compositor's std::optional<CompositionFrames> (nothing where it cannot
// tell), `flush()` a FlushAnswer, and `sleep(ms)` pauses.
template <typename Frames, typename Flush, typename Sleep>
CollapseWait WaitUntilCollapseShown(Frames&& frames, Flush&& flush, Sleep&& sleep) {
    CollapseWait wait;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<CompositionFrames> before = frames();
        const FlushAnswer answer = flush();
        if (answer != FlushAnswer::Unavailable) {
            ++wait.flushes;
        }
        if (answer != FlushAnswer::Returned) {
            break;
        }
        if (Composed(before, frames())) {
            return wait;
        }
    }
    wait.pause = PauseWithoutFlush;
    sleep(wait.pause);
    return wait;
}

} // namespace capture
