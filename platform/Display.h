// The Windows display, window and timing services the capture code reads.
// Functions that newer Windows versions add are bound at first call, so the
// exe still loads where they are missing.
#pragma once

#include "platform/Win.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// The system DPI (96 is 100 %). Falls back to the screen DC's LOGPIXELSX
// where GetDpiForSystem does not exist.
std::uint32_t SystemDpi();

// The primary display's size in physical pixels.
SIZE PrimaryDisplaySize();

// The bounding rectangle of all displays (the virtual screen), in physical
// screen coordinates: the primary display's top-left corner is (0, 0).
RECT VirtualScreen();

// Each display's rectangle in the same coordinates; empty when the system
// lists none.
std::vector<RECT> DisplayRects();

// Each display's rectangle and its work area (what panels and task bars
// leave to windows), in the system's order.
struct DisplayWorkArea {
    RECT monitor;
    RECT work;
};
std::vector<DisplayWorkArea> DisplayWorkAreas();

// The visible frame of a window, from DwmGetWindowAttribute with
// DWMWA_EXTENDED_FRAME_BOUNDS; nothing when the call is missing or fails.
std::optional<RECT> ExtendedFrameBounds(HWND window);

// GetWindowRect; nothing when it fails.
std::optional<RECT> WindowRect(HWND window);

// True where the running Windows reports major version 6 or more.
bool IsVersion6OrLater();

// Waits until the compositor has shown the last change on the screen:
// DwmFlush where composition is on; false when there is none to wait for.
bool FlushComposition();

HWND ForegroundWindow();

std::uint32_t Milliseconds(); // timeGetTime: wraps every 49.7 days
void Pause(std::uint32_t milliseconds);

} // namespace platform
