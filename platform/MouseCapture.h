// The mouse capture that a move or resize holds from the press to the
// release: given back on release, and when its holder goes.
#pragma once

#include "platform/Win.h"

#include <utility>

namespace platform {

class MouseCapture {
public:
    MouseCapture() noexcept = default;
    explicit MouseCapture(HWND window) noexcept : window_(window) { ::SetCapture(window); }
    ~MouseCapture() { reset(); }
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;
    MouseCapture(MouseCapture&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    MouseCapture& operator=(MouseCapture&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }

    explicit operator bool() const noexcept { return window_ != nullptr; }

    // Gives the capture back, unless another window has taken it since.
    void reset() noexcept {
        if (const HWND window = std::exchange(window_, nullptr);
            window != nullptr && ::GetCapture() == window) {
            ::ReleaseCapture();
        }
    }
    // Forgets a capture that the system has already taken away.
    void Forget() noexcept { window_ = nullptr; }

private:
    HWND window_ = nullptr;
};

} // namespace platform
