// The window in front and where it lies: what the foreground-window capture
// asks of the system.
#pragma once

#include "platform/Win.h"

#include <optional>

namespace platform {

HWND ForegroundWindow();

// The visible frame of a window, from DwmGetWindowAttribute with
// DWMWA_EXTENDED_FRAME_BOUNDS; nothing when the call is missing or fails.
std::optional<RECT> ExtendedFrameBounds(HWND window);

// GetWindowRect; nothing when it fails.
std::optional<RECT> WindowRect(HWND window);

} // namespace platform
