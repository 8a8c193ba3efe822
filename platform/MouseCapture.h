// The mouse capture that a move or resize holds from the press to the
// release: given back on release, and when its holder goes.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

namespace platform {

namespace detail {
// Gives the capture back, unless another window has taken it since.
inline void GiveCaptureBack(HWND window) {
    if (::GetCapture() == window) {
        ::ReleaseCapture();
    }
}
} // namespace detail

class MouseCapture : public UniqueHandle<NullHandlePolicy<HWND, detail::GiveCaptureBack>> {
public:
    MouseCapture() noexcept = default;
    explicit MouseCapture(HWND window) noexcept : UniqueHandle(Take(window)) {}

    // Forgets a capture that the system has already taken away.
    void Forget() noexcept { release(); }

private:
    static HWND Take(HWND window) noexcept {
        ::SetCapture(window);
        return window;
    }
};

} // namespace platform
