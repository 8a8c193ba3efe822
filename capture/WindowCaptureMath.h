// The arithmetic of the foreground-window capture: which block of the
// window's DC is its visible frame, and the countdown on a wrapping
// millisecond clock.
#pragma once

#include "capture/Geometry.h"

#include <cstdint>
#include <optional>

namespace capture {

struct WindowCopy {
    std::int32_t sourceX = 0; // within the window DC, whose (0,0) is the window rect's corner
    std::int32_t sourceY = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t screenX = 0; // the same block's top-left on the screen
    std::int32_t screenY = 0;
};

// The block to copy: the visible frame (when known) else the window
// rectangle, taken from its own offset within the window's DC. Nothing known
// gives an empty copy; an inverted rectangle gives zero sides.
WindowCopy VisibleFrameCopy(const std::optional<ScreenRect>& visibleFrame,
                            const std::optional<ScreenRect>& windowRect);

// Milliseconds between two readings of a 32-bit clock that wraps.
inline std::uint32_t Elapsed(std::uint32_t start, std::uint32_t now) {
    return now - start;
}

inline constexpr std::uint32_t CountdownMilliseconds = 3000;
inline constexpr std::uint32_t CountdownPass = 100;

// Runs the countdown: while less than `duration` has passed since the
// start, sleep one pass, then process pending events. The test comes first.
// Clock, sleep and event processing are given, so tests drive it with a
// clock of their own. Returns false when the pump says the program is
// ending (its window closed during the countdown).
template <typename Clock, typename Sleep, typename Pump>
bool RunCountdown(Clock&& now, Sleep&& sleep, Pump&& pump,
                  std::uint32_t duration = CountdownMilliseconds) {
    const std::uint32_t start = now();
    while (Elapsed(start, now()) < duration) {
        sleep(CountdownPass);
        if (!pump()) {
            return false;
        }
    }
    return true;
}

} // namespace capture
