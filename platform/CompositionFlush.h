// One flush of the desktop compositor, with its answer told apart: no
// compositor to ask, an error, or success. Whether the flush really waited
// is for the caller to judge (capture/CollapseWait.h): some systems answer
// success at once.
#pragma once

namespace platform {

enum class FlushAnswer {
    Unavailable, // composition off, or no compositor to ask
    Failed,      // asked, and it reported an error
    Returned,    // returned success: it says a pass has shown the change
};

// DwmFlush where DwmIsCompositionEnabled says composition is on. Both are
// bound at first call, so the program still runs where dwmapi is missing.
FlushAnswer FlushCompositionOnce();

// Makes the first flush of the process, once, so that a flush that is timed
// later does not also time loading dwmapi and the compositor's first answer
// (enough, under Wine, to pass for a composition pass).
void PrepareCompositionFlush();

} // namespace platform
