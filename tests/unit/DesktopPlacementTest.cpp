// Where the window goes on desktops of several displays: the first
// placement, and the pull back onto a display after the displays changed
// (a laptop leaving its dock, a display switched off), as tables of layouts
// in Windows screen coordinates.
#include "app/Unit1Definition.h"
#include "toolkit/DesktopPlacement.h"
#include "toolkit/WindowPixels.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace toolkit {

std::ostream& operator<<(std::ostream& out, const WindowPlace& p) {
    return out << "(" << p.left << ", " << p.top << ")";
}

} // namespace toolkit

namespace {

using toolkit::DisplayArea;
using toolkit::RectI;
using toolkit::WindowPlace;

constexpr int Width = Form1Width;
constexpr int Height = Form1Height;
constexpr int Bar = static_cast<int>(TitleBarHeight);

DisplayArea Whole(RectI monitor) {
    return {monitor, monitor};
}

RectI Bounds(const std::vector<DisplayArea>& displays) {
    RectI b = displays.front().monitor;
    for (const DisplayArea& d : displays) {
        b = {std::min(b.left, d.monitor.left), std::min(b.top, d.monitor.top),
             std::max(b.right, d.monitor.right), std::max(b.bottom, d.monitor.bottom)};
    }
    return b;
}

// The layouts of the several-display sessions, with the places worked out
// by hand there; the native rule must give the same.
struct FirstCase {
    const char* what;
    std::vector<DisplayArea> displays;
    float scale;
    WindowPlace expected;
};

const std::vector<DisplayArea> RightOfThePrimary = {Whole({0, 0, 1280, 800}),
                                                    Whole({1280, 0, 2304, 500})};
const std::vector<DisplayArea> LeftOfAndAbove = {{{0, 0, 1280, 800}, {0, 40, 1280, 800}},
                                                 {{-1024, -200, 0, 568}, {-1024, 40, 0, 568}}};
const std::vector<DisplayArea> BelowAWidePrimary = {Whole({0, 0, 3000, 600}),
                                                    Whole({1300, 600, 1900, 1200})};

TEST(DesktopPlacement, FirstPlacementCentresAndPullsIntoTheNearestWorkArea) {
    const FirstCase cases[] = {
        {"one display", {Whole({0, 0, 1920, 1080})}, 1.0f, {710, 356}},
        {"one display at 125 %", {Whole({0, 0, 1920, 1080})}, 1.25f, {518, 248}},
        {"a shorter display right of the primary", RightOfThePrimary, 1.0f, {779, 216}},
        {"the same at 150 %", RightOfThePrimary, 1.5f, {352, 82}},
        {"left of and above the primary, panel strip", LeftOfAndAbove, 1.0f, {-122, 116}},
        {"the same at 150 %", LeftOfAndAbove, 1.5f, {0, 27}},
        {"a small display below a wide primary", BelowAWidePrimary, 1.0f, {1250, 232}},
        {"the same at 150 %", BelowAWidePrimary, 1.5f, {750, 32}},
    };
    for (const FirstCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            toolkit::CentredOnDesktop(c.displays, Bounds(c.displays), Width, Height, Bar, c.scale),
            c.expected);
    }
}

struct PullCase {
    const char* what;
    std::vector<DisplayArea> displays; // those left after the change
    float scale;
    WindowPlace before;
    std::optional<WindowPlace> expected;
};

const DisplayArea Laptop = {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
const DisplayArea WithTopPanel = {{0, 0, 1920, 1080}, {0, 61, 1920, 1080}};

TEST(DesktopPlacement, ATitleBarOnNoWorkAreaIsPulledOntoTheNearestDisplay) {
    const PullCase cases[] = {
        {"the dock's display is gone: pulled left into the laptop's",
         {Laptop},
         1.0f,
         {2100, 100},
         WindowPlace{1920 - Width, 100}},
        {"the same at 125 %: the right edge lands on the last whole unit",
         {Laptop},
         1.25f,
         {2100, 100},
         WindowPlace{1536 - Width, 100}},
        {"below the desktop: pulled up, left kept",
         {Laptop},
         1.0f,
         {300, 1500},
         WindowPlace{300, 1040 - Height}},
        {"wholly off to the lower right: both ways",
         {Laptop},
         1.5f,
         {5000, 4000},
         WindowPlace{1280 - Width, 693 - Height}},
        {"above the desktop, left of it too", {Laptop}, 1.0f, {-900, -700}, WindowPlace{0, 0}},
        {"the bar just above the display: down to its top",
         {Laptop},
         1.0f,
         {40, -Bar},
         WindowPlace{40, 0}},
        {"the bar under a panel: down to the work area's first whole unit",
         {WithTopPanel},
         1.25f,
         {10, -10},
         WindowPlace{10, 49}},
        {"a negative display left of the primary is the nearer one",
         {Laptop, Whole({-1280, 0, 0, 1024})},
         1.0f,
         {-3000, 200},
         WindowPlace{-1280, 200}},
        {"stacked displays: the lower one is nearer",
         {Whole({0, 0, 1600, 900}), Whole({0, 900, 1600, 1800})},
         1.0f,
         {2500, 1300},
         WindowPlace{1600 - Width, 1300}},
        {"taller than the work area: the title bar goes to its top",
         {Whole({0, 0, 800, 300})},
         1.0f,
         {100, 2000},
         WindowPlace{100, 0}},
        {"one row of the bar on the work area: it stays",
         {Laptop},
         1.0f,
         {100, 1040 - 1},
         std::nullopt},
        {"one column of the bar on the work area: it stays",
         {Laptop},
         1.0f,
         {-Width + 1, 300},
         std::nullopt},
        {"straddling two displays' boundary: it stays",
         {Whole({0, 0, 1280, 800}), Whole({1280, 0, 2560, 800})},
         1.0f,
         {1100, 50},
         std::nullopt},
        {"no display at all: nothing to pull onto", {}, 1.0f, {5000, 5000}, std::nullopt},
    };
    for (const PullCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<WindowPlace> pulled =
            toolkit::PulledOntoDisplay(c.displays, c.before, Width, Height, Bar, c.scale);
        EXPECT_EQ(pulled, c.expected);
        if (pulled) {
            // A pull leaves the title bar on a work area, edges on its pixels.
            const RectI bar =
                toolkit::WindowPixels(pulled->left, pulled->top, Width, Bar, Bar, c.scale);
            bool onWork = false;
            for (const DisplayArea& d : c.displays) {
                onWork = onWork || !bar.Intersect(d.work).Empty();
            }
            EXPECT_TRUE(onWork);
            EXPECT_FALSE(
                toolkit::PulledOntoDisplay(c.displays, *pulled, Width, Height, Bar, c.scale))
                << "a pulled window is pulled again";
        }
    }
}

// The window's corners are the pixels it paints, as a hosted form shows
// them (WindowPixelsTest reads them from the screen at every scale from
// 100 % to 200 %): at 150 % the window at (100, 166), 501 x 368 units,
// paints columns 150 to 900 and rows 249 to 800. Row 800 is not on a
// display 800 high, though the last logical row starts on row 799.
TEST(DesktopPlacement, CornersAreTheFirstAndLastPaintedRowsAndColumns) {
    struct Case {
        const char* what;
        RectI display;
        bool on;
    };
    const Case cases[] = {
        {"a display holding exactly the painted pixels", {150, 249, 901, 801}, true},
        {"1280 x 800: row 800 is off it", {0, 0, 1280, 800}, false},
        {"1280 x 801", {0, 0, 1280, 801}, true},
        {"ending before column 900", {150, 249, 900, 801}, false},
        {"starting after column 150", {151, 249, 901, 801}, false},
        {"starting after row 249", {150, 250, 901, 801}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            toolkit::CornersOnDisplays({Whole(c.display)}, {100, 166}, Width, Height, Bar, 1.5f),
            c.on);
    }
}

} // namespace
