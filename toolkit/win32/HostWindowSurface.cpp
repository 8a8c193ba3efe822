// The host window's surface and its presenting: the form paints the part of
// its window that lies on the desktop into a DIB section, which goes to
// UpdateLayeredWindow with the window's place in one step. The place the
// system or another program gives the window, a change of displays and a
// change of DPI come back here as well, as the form's place is kept here.
#include "toolkit/win32/HostWindow.h"

#include "platform/Display.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"
#include "platform/Units.h"
#include "toolkit/DesktopPlacement.h"
#include "toolkit/win32/DisplayAreas.h"

#include <cstdint>
#include <utility>

namespace toolkit::win32 {

void HostWindow::EnsureSurface(int width, int height) {
    if (surface_.Holds(width, height)) {
        return;
    }
    // The last frame lies in the old surface: the canvas lets go of it first.
    canvas_.BeginFrame(0, 0);
    // The DC's own bitmap goes back in before the old surface goes, so it is
    // out of the DC when it is deleted.
    surfaceSelection_.reset();
    surface_.Ensure(width, height);
    if (!surfaceDc_) {
        surfaceDc_.reset(::CreateCompatibleDC(nullptr));
        if (!surfaceDc_) {
            platform::ThrowResourceError(::GetLastError());
        }
    }
    surfaceSelection_ = platform::SelectGuard(surfaceDc_.get(), surface_.Section().bitmap.get());
}

void HostWindow::Present(RectI screenRect) {
    repaintPending_ = false;
    if (screenRect.Empty()) {
        return;
    }
    // Only the part on the desktop is ever seen, so only that part becomes
    // the system window: a viewfinder typed 100000 pixels wide costs what
    // the screen shows, not gigabytes, and no window system limit is hit.
    const RECT virtualScreen = platform::VirtualScreen();
    const RectI desktop{virtualScreen.left, virtualScreen.top, virtualScreen.right,
                        virtualScreen.bottom};
    RectI shown = screenRect.Intersect(desktop);
    if (shown.Empty()) {
        // Wholly off the desktop: one transparent pixel keeps it a window.
        shown = {screenRect.left, screenRect.top, screenRect.left + 1, screenRect.top + 1};
    }
    const int width = shown.Width();
    const int height = shown.Height();
    EnsureSurface(width, height);
    const POINT offset{shown.left - screenRect.left, shown.top - screenRect.top};
    // Painted straight into the surface, which is top-down 32-bit like the
    // canvas, its rows without padding.
    try {
        form_.Render(canvas_, {offset.x, offset.y, offset.x + width, offset.y + height},
                     static_cast<std::uint32_t*>(surface_.Section().bits));
    } catch (const std::bad_alloc&) {
        throw platform::Error(platform::OutOfResourcesText());
    }
    const bool moved = offset.x != offset_.x || offset.y != offset_.y;
    offset_ = offset;
    Upload(shown);
    if (moved) {
        ControlsMoved();
    }
}

void HostWindow::Upload(RectI screenRect) {
    POINT position{screenRect.left, screenRect.top};
    SIZE size{screenRect.Width(), screenRect.Height()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    if (!screen) {
        platform::ThrowResourceError(::GetLastError());
    }
    // The move this makes comes back as a position change, which is ours and
    // not one to take.
    shown_ = screenRect;
    const bool wasPresenting = std::exchange(presenting_, true);
    ::UpdateLayeredWindow(window_.get(), screen.get(), &position, &size, surfaceDc_.get(), &origin,
                          0, &blend, ULW_ALPHA);
    presenting_ = wasPresenting;
}

void HostWindow::TakeSystemMove(HWND hwnd, const WINDOWPOS& position) {
    // A move by the system or another program comes from another thread,
    // as a sent message. Our own placements, changes of size or order only,
    // and the places a minimized or maximized window is parked at are not
    // moves to follow; nor are the window system's late reports of where the
    // window was (Wine's X driver makes them from X events that arrive after
    // the next placement, and from the window manager's own adjustments).
    if (presenting_ || !shown_ || !::InSendMessage() || (position.flags & SWP_NOMOVE) != 0 ||
        ::IsIconic(hwnd) || ::IsZoomed(hwnd) ||
        (position.x == shown_->left && position.y == shown_->top)) {
        return;
    }
    // The system window is the part of the form's window on the desktop,
    // offset_ into it: the form's own edge moved by as much.
    const float scale = form_.Scale();
    const int left = platform::units::ToLogical(double(position.x) - offset_.x, scale);
    const int top = platform::units::ToLogical(double(position.y) - offset_.y, scale);
    form_.Dispatch(
        [&] { form_.SetWindowBounds(left, top, form_.ClientWidth(), form_.ClientHeight()); });
    // The move that brought this is not over yet and leaves the window where
    // it was asked to; the form's place is shown again once it is.
    ScheduleRepaint();
}

void HostWindow::FollowDisplayChange() {
    form_.Dispatch([&] {
        const int width = form_.ClientWidth();
        const int height = form_.ClientHeight();
        const std::optional<WindowPlace> pulled =
            PulledOntoDisplay(CurrentDisplayAreas(), {form_.Left(), form_.Top()}, width, height,
                              form_.MinimumClientHeight(), form_.Scale());
        if (pulled) {
            form_.SetWindowBounds(pulled->left, pulled->top, width, height);
        } else {
            // The desktop's edges may have moved: another part of the window
            // may lie on it now, or less of it.
            Present(form_.ScreenRect());
        }
    });
}

void HostWindow::RepaintIfPending() {
    if (repaintPending_) {
        form_.Dispatch([&] { Present(form_.ScreenRect()); });
    }
}

void HostWindow::ScheduleRepaint() {
    if (!repaintPending_ && window_) {
        repaintPending_ = true;
        // Should the post fail, the repaint is still done at the next
        // processing of pending events.
        commands_.Post(RepaintCommand{});
    }
}

void HostWindow::ControlsMoved() {
    tooltips_.Update(form_, offset_.x, offset_.y);
}

std::optional<LRESULT> HostWindow::OnSurface(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGED:
        TakeSystemMove(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return std::nullopt; // the system's own handling sends the move and size messages
    case WM_DISPLAYCHANGE:
        FollowDisplayChange();
        return std::nullopt;
    case WM_DPICHANGED:
        // Scale never changes, so neither does the window: the rectangle the
        // system suggests for the new DPI is not taken.
        return 0;
    case WM_GETDPISCALEDSIZE:
        if (!shown_) {
            return std::nullopt;
        }
        reinterpret_cast<SIZE*>(lParam)->cx = shown_->Width();
        reinterpret_cast<SIZE*>(lParam)->cy = shown_->Height();
        return TRUE;
    default:
        return std::nullopt;
    }
}

} // namespace toolkit::win32
