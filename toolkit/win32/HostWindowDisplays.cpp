// The host window's watch over the displays. Windows announces a change of
// displays with WM_DISPLAYCHANGE; Wine 10 changes every process's monitors
// when an X output goes or comes, and says nothing. So the monitors seen
// last are kept and compared on a slow timer, and a change found that way is
// followed as an announced one is. Where the message comes, the monitors
// kept are already the new ones and the timer finds nothing to do.
#include "toolkit/win32/HostWindow.h"

#include "toolkit/win32/DisplayAreas.h"

#include <algorithm>
#include <utility>

namespace toolkit::win32 {

namespace {

constexpr UINT_PTR DisplayWatchTimer = 0x7661; // no other timer of the window
// Slow enough to cost nothing anyone sees, quick enough that a window left
// on a display that went away is back on one within a few seconds.
constexpr UINT DisplayWatchPeriodMs = 1000;

bool SameMonitors(const std::vector<DisplayArea>& a, const std::vector<DisplayArea>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const DisplayArea& x, const DisplayArea& y) { return x.monitor == y.monitor; });
}

} // namespace

void HostWindow::PlaceAgain() {
    // Wine keeps the window's place in Windows coordinates when the X
    // screen's origin moves under it, so X shows it somewhere else until it
    // moves: a pixel aside now, and back where the form is by the presenting
    // that follows.
    if (!shown_) {
        return;
    }
    const bool wasPresenting = std::exchange(presenting_, true);
    ::SetWindowPos(window_.get(), nullptr, shown_->left + 1, shown_->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    presenting_ = wasPresenting;
}

void HostWindow::WatchDisplays() {
    watchedDisplays_ = CurrentDisplayAreas();
    ::SetTimer(window_.get(), DisplayWatchTimer, DisplayWatchPeriodMs, nullptr);
}

std::optional<LRESULT> HostWindow::OnDisplays(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_DISPLAYCHANGE:
        watchedDisplays_ = CurrentDisplayAreas();
        return std::nullopt; // the surface follows the change
    case WM_TIMER: {
        if (wParam != DisplayWatchTimer) {
            return std::nullopt;
        }
        std::vector<DisplayArea> now = CurrentDisplayAreas();
        if (!SameMonitors(now, watchedDisplays_)) {
            watchedDisplays_ = std::move(now);
            PlaceAgain();
            FollowDisplayChange();
        }
        return 0;
    }
    default:
        return std::nullopt;
    }
}

} // namespace toolkit::win32
