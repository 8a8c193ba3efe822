// The window capture's countdown on a wrapping millisecond clock: the loop
// that waits, sleeping and processing events, before the copy. Clock, sleep
// and event processing are given, so tests drive it with a clock of their
// own.
#pragma once

#include <cstdint>

namespace capture {

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
