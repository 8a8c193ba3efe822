// The window capture's frame arithmetic: which block of the window's DC is
// its visible frame.
#include "capture/WindowCaptureMath.h"

#include <gtest/gtest.h>

using capture::ScreenRect;
using capture::VisibleFrameCopy;

TEST(VisibleFrameCopy, StartsAtTheFramesOwnOffsetWithinTheWindow) {
    const struct {
        const char* what;
        std::optional<ScreenRect> frame;
        std::optional<ScreenRect> window;
        capture::WindowCopy expected;
    } cases[] = {
        {"invisible borders around the frame",
         ScreenRect{100, 50, 900, 650},
         ScreenRect{93, 50, 907, 657},
         {7, 0, 800, 600}},
        {"frame equals window",
         ScreenRect{10, 20, 110, 220},
         ScreenRect{10, 20, 110, 220},
         {0, 0, 100, 200}},
        {"no frame bounds: the window rectangle",
         std::nullopt,
         ScreenRect{-5, -7, 95, 93},
         {0, 0, 100, 100}},
        {"frame known, window rectangle not",
         ScreenRect{100, 50, 900, 650},
         std::nullopt,
         {0, 0, 800, 600}},
        {"no window at all", std::nullopt, std::nullopt, {0, 0, 0, 0}},
        {"zero width", ScreenRect{5, 5, 5, 50}, ScreenRect{5, 5, 5, 50}, {0, 0, 0, 45}},
        {"inverted", std::nullopt, ScreenRect{50, 50, 10, 10}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const capture::WindowCopy copy = VisibleFrameCopy(c.frame, c.window);
        EXPECT_EQ(copy.sourceX, c.expected.sourceX);
        EXPECT_EQ(copy.sourceY, c.expected.sourceY);
        EXPECT_EQ(copy.width, c.expected.width);
        EXPECT_EQ(copy.height, c.expected.height);
        if (c.frame || c.window) {
            const ScreenRect& bounds = c.frame ? *c.frame : *c.window;
            EXPECT_EQ(copy.screenX, bounds.left);
            EXPECT_EQ(copy.screenY, bounds.top);
        }
    }
}
