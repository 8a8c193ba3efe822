// The foreground-window capture's copy: the window's visible frame into the
// held image.
#pragma once

#include "output/HeldImage.h"
#include "platform/Win.h"

#include <optional>

namespace capture {

// Sizes the held image to `bounds` (the visible frame, or the window
// rectangle where that is unknown; nothing gives an empty image) and copies
// that block of the window into it, starting at the block's own offset
// within the window's DC. The window's DC is held only for this call and
// released on every path. A screen that cannot be read raises the system's
// text (or "システム リソース不足です") and leaves the image white.
void CopyWindow(HWND window, const std::optional<RECT>& bounds, output::HeldImage& image);

// The bounds a capture of window copies (CaptureBounds): its visible frame
// where the system reports one, else its window rectangle, else nothing.
std::optional<RECT> CaptureBoundsOf(HWND window);

} // namespace capture
