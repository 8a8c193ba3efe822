// Move and resize arithmetic of the frameless window. All sums are formed in
// double, where a whole int plus or minus single-precision coordinates is
// exact, and rounded or truncated once; results go to int through the units
// rule, which holds them inside the int range, so no pointer position,
// however wild, makes a conversion overflow.
#include "toolkit/WindowTracking.h"

#include "platform/Units.h"
#include "toolkit/RoundHalfEven.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace toolkit {

namespace {

namespace units = platform::units;

// The largest float below 2^31: a tracked size kept as float never exceeds
// the int range when converted back.
constexpr double TrackedSizeMax = 2147483520.0;

// A whole number (or NaN) to int, saturated; NaN gives fallback.
int ToInt(double whole, int fallback) {
    return std::isnan(whole) ? fallback : units::Trunc(whole);
}

// One resize step of a tracked size: the pointer's movement added, rounded
// half to even, held at the lowest size. A NaN position leaves it as it was.
float TrackSize(float tracked, float position, float last, int minimum) {
    double size = RoundHalfEven(static_cast<double>(position) - last + tracked);
    if (std::isnan(size)) {
        return tracked;
    }
    return static_cast<float>(std::clamp(size, static_cast<double>(minimum), TrackedSizeMax));
}

} // namespace

WindowTracker::WindowTracker(int titleBarHeight) : titleBarHeight_(titleBarHeight) {}

void WindowTracker::StartMove(float pressX, float pressY) {
    mode_ = TrackingMode::Move;
    pressX_ = pressX;
    pressY_ = pressY;
}

void WindowTracker::StartResize(const WindowRect& window, float pressX, float pressY) {
    mode_ = TrackingMode::Resize;
    lastX_ = pressX;
    lastY_ = pressY;
    trackedWidth_ = static_cast<float>(window.width);
    trackedHeight_ = static_cast<float>(window.height);
}

WindowRect WindowTracker::PointerMoved(const WindowRect& window, float x, float y) {
    WindowRect result = window;
    switch (mode_) {
    case TrackingMode::None:
        break;
    case TrackingMode::Move:
        // Client coordinates move with the window, so the offset from the
        // press point is how far the window still has to go; the press point
        // itself never changes.
        result.left =
            ToInt(RoundHalfEven(static_cast<double>(window.left) + x - pressX_), window.left);
        result.top =
            ToInt(RoundHalfEven(static_cast<double>(window.top) + y - pressY_), window.top);
        break;
    case TrackingMode::Resize:
        // The client origin stays put while resizing, so each step is the
        // movement since the last pointer position.
        trackedWidth_ = TrackSize(trackedWidth_, x, lastX_, MinimumWindowWidth);
        trackedHeight_ = TrackSize(trackedHeight_, y, lastY_, titleBarHeight_);
        result.width = static_cast<int>(trackedWidth_);
        result.height = static_cast<int>(trackedHeight_);
        // A NaN position was no movement; keep measuring from the last real one.
        lastX_ = std::isnan(x) ? lastX_ : x;
        lastY_ = std::isnan(y) ? lastY_ : y;
        break;
    }
    return result;
}

void WindowTracker::Stop() {
    mode_ = TrackingMode::None;
}

// A NaN quotient (0 / 0) gives 0, which the limit below turns into the
// limit itself, as for any size below it.
int WindowWidthForTypedSize(std::int32_t width, float scale) {
    return std::max(units::ToLogical(width, scale), MinimumWindowWidth);
}

int WindowHeightForTypedSize(std::int32_t height, float scale, int titleBarHeight) {
    // One truncation of the sum: the bar's whole units plus the quotient.
    return std::max(units::TruncSum(titleBarHeight, height / static_cast<double>(scale)),
                    titleBarHeight);
}

} // namespace toolkit
