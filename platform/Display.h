// The displays as the system reports them: the system DPI, the virtual
// screen and each display's rectangle. (The compositor that shows changes
// on them is CompositionFlush's.)
#pragma once

#include "platform/Win.h"

#include <cstdint>
#include <vector>

namespace platform {

// The system DPI (96 is 100 %). Falls back to the screen DC's LOGPIXELSX
// where GetDpiForSystem does not exist.
std::uint32_t SystemDpi();

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

} // namespace platform
