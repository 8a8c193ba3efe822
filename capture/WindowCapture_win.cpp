#include "capture/WindowCapture.h"

#include "capture/WindowCaptureMath.h"
#include "platform/ForegroundWindow.h"
#include "platform/OsVersion.h"
#include "platform/Gdi.h"
#include "platform/ScreenCopy.h"

namespace capture {

namespace {

std::optional<ScreenRect> ToScreenRect(const std::optional<RECT>& r) {
    if (!r) {
        return std::nullopt;
    }
    return ScreenRect{r->left, r->top, r->right, r->bottom};
}

std::optional<RECT> ToRect(const std::optional<ScreenRect>& r) {
    if (!r) {
        return std::nullopt;
    }
    return RECT{r->left, r->top, r->right, r->bottom};
}

} // namespace

std::optional<RECT> CaptureBoundsOf(HWND window) {
    std::optional<RECT> frame;
    if (platform::IsVersion6OrLater()) {
        frame = platform::ExtendedFrameBounds(window);
    }
    return ToRect(CaptureBounds(ToScreenRect(frame), ToScreenRect(platform::WindowRect(window))));
}

void CopyWindow(HWND window, const std::optional<RECT>& bounds, output::HeldImage& image) {
    platform::WindowDc dc = platform::WindowDc::Whole(window);
    // The copy starts at the visible frame's own offset within the window's
    // DC, so the image is the visible frame and not a block shifted by the
    // invisible borders.
    const WindowCopy copy =
        VisibleFrameCopy(ToScreenRect(bounds), ToScreenRect(platform::WindowRect(window)));
    image.SetSize(copy.width, copy.height);
    if (image.Empty()) {
        return;
    }
    // A layered window (this program's own, for instance) keeps its picture
    // outside any DC: its window DC reads as blank. It is copied from the
    // screen, where CAPTUREBLT includes layered windows, as is any window
    // whose DC cannot be read.
    const bool layered = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    const BOOL copied = !layered && dc &&
                        ::BitBlt(image.DrawingDc(), 0, 0, copy.width, copy.height, dc.get(),
                                 copy.sourceX, copy.sourceY, SRCCOPY | CAPTUREBLT);
    if (!copied) {
        platform::WindowDc screen = platform::WindowDc::Client(nullptr);
        // A screen that cannot be read is raised, not passed off as a capture;
        // the image stays white.
        platform::CopyScreenBlock(image.DrawingDc(), copy.width, copy.height, screen.get(),
                                  copy.screenX, copy.screenY, SRCCOPY | CAPTUREBLT);
    }
}

} // namespace capture
