// One flush of the desktop compositor, with its answer told apart: no
// compositor to ask, an error, or success; and the compositor's frame
// counters. Whether the flush really composed is for the caller to judge
// (capture/CollapseWait.h): some systems answer success having composed
// nothing.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

enum class FlushAnswer {
    Unavailable, // composition off, or no compositor to ask
    Failed,      // asked, and it reported an error
    Returned,    // returned success: it says a pass has shown the change
};

// The compositor's counters since it started: frames composed, and display
// refreshes.
struct CompositionFrames {
    std::uint64_t frame = 0;
    std::uint64_t refresh = 0;
};

// DwmFlush where DwmIsCompositionEnabled says composition is on. Both are
// bound at first call, so the program still runs where dwmapi is missing.
FlushAnswer FlushCompositionOnce();

// The counters from DwmGetCompositionTimingInfo for the whole desktop;
// nothing where the call is missing or fails.
std::optional<CompositionFrames> CompositionFramesNow();

} // namespace platform
