// The arithmetic of moving and resizing the frameless window with the mouse:
// where the window goes for each pointer movement while the title bar is
// dragged, how big it gets while the viewfinder is dragged, and the window
// size that a size typed in physical pixels asks for. The form feeds it
// pointer positions and applies the geometry it returns; mouse capture and
// messages stay with the form's host.
#pragma once

#include <cstdint>

namespace toolkit {

// The window's position and outer size in whole logical units. The window
// has no frame: its width is the viewfinder's and its height is the title
// bar's plus the viewfinder's.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect&) const = default;
};

// The narrowest window the tracking and the typed size leave: a window of
// width 0 would vanish and could not be grabbed again.
inline constexpr int MinimumWindowWidth = 1;

enum class TrackingMode { None, Move, Resize };

// One move or resize at a time, from the press of a mouse button to its
// release. Pointer positions are in logical units from the window's logical
// origin (not from its truncated physical one, whose fraction changes as the
// window moves).
class WindowTracker {
public:
    // The lowest window a resize leaves is the title bar's height, an empty
    // viewfinder; a negative viewfinder has no meaning.
    explicit WindowTracker(int titleBarHeight);

    // A press on the title bar: the grabbed point stays under the pointer.
    void StartMove(float pressX, float pressY);

    // A press on the viewfinder: the left and top edges stay, the right and
    // bottom edges follow the pointer.
    void StartResize(const WindowRect& window, float pressX, float pressY);

    // The window's new geometry for the pointer now at (x, y), given where
    // the window is now; the window unchanged when nothing is tracked.
    // Moving: left and top shift by the pointer's offset from the press
    // point, rounded half to even. Resizing: the tracked size grows by the
    // pointer's movement since the previous call, rounded half to even and
    // held at the limits, and becomes the window's size.
    WindowRect PointerMoved(const WindowRect& window, float x, float y);

    // The release of the mouse button.
    void Stop();

    TrackingMode Mode() const { return mode_; }

private:
    int titleBarHeight_;
    TrackingMode mode_ = TrackingMode::None;
    float pressX_ = 0;
    float pressY_ = 0;
    float lastX_ = 0;
    float lastY_ = 0;
    // Whole numbers kept as float: the size a resize builds up. It is held
    // at the limits itself, so moving back after overshooting a limit grows
    // the window again at once instead of first undoing the overshoot.
    float trackedWidth_ = 0;
    float trackedHeight_ = 0;
};

// The window width for a typed width of `width` physical pixels:
// width / scale, truncated toward zero, at least MinimumWindowWidth. Formed in
// double from the single-precision scale, as every conversion between pixels
// and units is. scale must be positive.
int WindowWidthForTypedSize(std::int32_t width, float scale);

// The window height for a typed viewfinder height of `height` physical
// pixels: titleBarHeight + height / scale, truncated toward zero, at least
// titleBarHeight.
int WindowHeightForTypedSize(std::int32_t height, float scale, int titleBarHeight);

} // namespace toolkit
