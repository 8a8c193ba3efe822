// Moving and resizing the frameless window by the mouse, and the window size
// for a typed size: whole logical units, half-to-even rounding of the
// pointer's fractional positions, and the smallest window they may leave.
#include "toolkit/WindowTracking.h"

#include "app/Unit1Definition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

using toolkit::TrackingMode;
using toolkit::WindowRect;
using toolkit::WindowTracker;

constexpr int TitleBar = static_cast<int>(::TitleBarHeight);
constexpr WindowRect StartWindow{100, 200, 501, 368};

struct Point {
    float x;
    float y;
};

TEST(WindowTracking, ResizeFollowsPointerFromItsPressPoint) {
    struct Step {
        Point pointer; // client coordinates; the origin stays while resizing
        int width;
        int height;
    };
    struct Case {
        const char* name;
        Point press;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"50 right 20 down at once", {250, 150}, {{{300, 170}, 551, 388}}},
        {"50 right 20 down in steps",
         {10, 300},
         {{{25, 305}, 516, 373}, {{40, 312}, 531, 380}, {{60, 320}, 551, 388}}},
        {"shrinks and grows back", {400, 300}, {{{350, 250}, 451, 318}, {{410, 305}, 511, 373}}},
        {"halves go to even", {0, 0}, {{{0.5f, 0.5f}, 502, 368}, {{1.0f, 1.0f}, 502, 368}}},
        {"half below odd goes up", {0, 0}, {{{-0.5f, 1.5f}, 500, 370}}},
        {"fractions dropped each step are lost",
         {0, 0},
         {{{0.25f, 0.25f}, 501, 368}, {{0.5f, 0.5f}, 501, 368}, {{0.75f, 0.75f}, 501, 368}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowTracker tracker(TitleBar);
        WindowRect window = StartWindow;
        tracker.StartResize(window, c.press.x, c.press.y);
        EXPECT_EQ(tracker.Mode(), TrackingMode::Resize);
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "to " << s.pointer.x << "," << s.pointer.y);
            window = tracker.PointerMoved(window, s.pointer.x, s.pointer.y);
            EXPECT_EQ(window, (WindowRect{StartWindow.left, StartWindow.top, s.width, s.height}));
        }
    }
}

TEST(WindowTracking, ResizeStopsAtOneUnitWideAndEmptyViewfinder) {
    struct Step {
        Point pointer;
        int width;
        int height;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    // Presses at (400, 300) on the 501 x 368 window.
    const Case cases[] = {
        {"exactly to zero stops at the limits", {{{-101, -32}, 1, 36}}},
        {"past the edges stops there", {{{-300, -500}, 1, 36}}},
        // The tracked size is held at the limit itself: the first movement
        // back grows the window at once, by exactly that movement.
        {"moving back grows at once", {{{-300, -500}, 1, 36}, {{-290, -490}, 11, 46}}},
        {"wild positions do not overflow",
         {{{3e38f, 3e38f}, 2147483520, 2147483520}, {{-3e38f, -3e38f}, 1, 36}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowTracker tracker(TitleBar);
        WindowRect window = StartWindow;
        tracker.StartResize(window, 400, 300);
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "to " << s.pointer.x << "," << s.pointer.y);
            window = tracker.PointerMoved(window, s.pointer.x, s.pointer.y);
            EXPECT_EQ(window, (WindowRect{StartWindow.left, StartWindow.top, s.width, s.height}));
        }
    }
}

// The host reports pointer positions in client coordinates, which shift with
// the window; the fixture converts the screen positions of a drag the way the
// host would see them.
TEST(WindowTracking, MoveKeepsGrabbedPointUnderPointer) {
    struct Case {
        const char* name;
        Point press; // client
        std::vector<Point> screen;
        std::vector<Point> expectedTopLeft;
    };
    const Case cases[] = {
        {"whole movement",
         {40, 10},
         {{140, 210}, {190, 230}, {100, 150}},
         {{100, 200}, {150, 220}, {60, 140}}},
        {"halves go to even",
         {40, 10},
         {{140.5f, 211.5f}, {141.5f, 212.5f}},
         {{100, 202}, {102, 202}}},
        {"fractional press point", {0.25f, 0.75f}, {{110.5f, 199.0f}}, {{110, 198}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowTracker tracker(TitleBar);
        WindowRect window = StartWindow;
        tracker.StartMove(c.press.x, c.press.y);
        EXPECT_EQ(tracker.Mode(), TrackingMode::Move);
        for (std::size_t i = 0; i < c.screen.size(); ++i) {
            SCOPED_TRACE(i);
            float clientX = c.screen[i].x - static_cast<float>(window.left);
            float clientY = c.screen[i].y - static_cast<float>(window.top);
            window = tracker.PointerMoved(window, clientX, clientY);
            EXPECT_EQ(window.left, c.expectedTopLeft[i].x);
            EXPECT_EQ(window.top, c.expectedTopLeft[i].y);
            EXPECT_EQ(window.width, StartWindow.width);
            EXPECT_EQ(window.height, StartWindow.height);
        }
    }
}

TEST(WindowTracking, MoveAndResizeAreExclusiveAndEndAtRelease) {
    WindowTracker tracker(TitleBar);
    EXPECT_EQ(tracker.Mode(), TrackingMode::None);
    EXPECT_EQ(tracker.PointerMoved(StartWindow, 900, 900), StartWindow);

    // A resize started after a move replaces it: the pointer now sizes.
    tracker.StartMove(10, 10);
    tracker.StartResize(StartWindow, 10, 10);
    EXPECT_EQ(tracker.PointerMoved(StartWindow, 20, 30), (WindowRect{100, 200, 511, 388}));

    tracker.Stop();
    EXPECT_EQ(tracker.Mode(), TrackingMode::None);
    EXPECT_EQ(tracker.PointerMoved(StartWindow, 500, 500), StartWindow);
}

TEST(WindowTracking, ResizeStartsFromTheWindowsCurrentSize) {
    WindowTracker tracker(TitleBar);
    tracker.StartResize(StartWindow, 0, 0);
    WindowRect window = tracker.PointerMoved(StartWindow, 100, 100);
    tracker.Stop();
    // A second resize continues from the size the first one left, not from
    // anything the tracker remembers.
    WindowRect smaller{0, 0, 50, 60};
    tracker.StartResize(smaller, 5, 5);
    EXPECT_EQ(tracker.PointerMoved(smaller, 6, 7), (WindowRect{0, 0, 51, 62}));
    EXPECT_EQ(window, (WindowRect{100, 200, 601, 468}));
}

TEST(WindowTracking, TypedSizeTruncatesAtSingleScale) {
    struct Case {
        float scale;
        std::int32_t width;
        int windowWidth;
        std::int32_t height;
        int windowHeight;
    };
    constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
    const Case cases[] = {
        {1.0f, 640, 640, 480, 516},
        {1.25f, 626, 500, 415, 368},
        {1.5f, 301, 200, 300, 236},
        {1.75f, 877, 501, 581, 368},
        {1.14f, 571, 500, 378, 367},
        // 1.1f is slightly above 1.1: the quotient formed in double is just
        // below 100 and truncates to 99 (a float quotient would give 100).
        {1.1f, 110, 99, 110, 135},
        {1.0f, 0, 1, 0, 36},        // a typed 0 stops at the limits
        {1.25f, -640, 1, -480, 36}, // so does a typed negative size
        {1.0f, 1, 1, 1, 37},
        {1.25f, 1, 1, 1, 36},
        {1.0f, Int32Max, Int32Max, Int32Max - 36, Int32Max},
        {1.0f, Int32Min, 1, Int32Min, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "scale " << c.scale << " " << c.width << " x " << c.height);
        EXPECT_EQ(toolkit::WindowWidthForTypedSize(c.width, c.scale), c.windowWidth);
        EXPECT_EQ(toolkit::WindowHeightForTypedSize(c.height, c.scale, TitleBar), c.windowHeight);
    }
}

} // namespace
