// A window manager's answer to a window placed across the desktop's edge
// is told from a move of the user's by where the window was and where it
// went, on a 1920 x 1080 desktop.
#include "toolkit/KeptOnScreen.h"

#include <gtest/gtest.h>

namespace {

using toolkit::RectI;

constexpr RectI Desktop{0, 0, 1920, 1080};

TEST(KeptOnScreen, OnlyAWindowReachingOffTheDesktopPulledWhollyOntoItIsTheManagers) {
    struct Case {
        const char* what;
        RectI form;
        int x, y;
        bool kept;
    };
    const Case cases[] = {
        // 144 DPI: a window straddling the bottom edge, put back wholly on it.
        {"straddling the bottom, pulled up onto it", {216, 956, 345, 1152}, 216, 878, true},
        {"wholly right of the desktop, pulled onto it", {1960, 86, 2060, 141}, 1820, 86, true},
        {"straddling the left edge, pushed right", {-4, 57, 82, 167}, 0, 57, true},
        // Moves of the user's, or of another program's.
        {"on the desktop, moved elsewhere on it", {100, 100, 300, 236}, 400, 300, false},
        {"on the desktop, moved across its edge", {100, 100, 300, 236}, 1800, 300, false},
        {"straddling the bottom, moved but still across it",
         {216, 956, 345, 1152},
         400,
         1000,
         false},
        {"straddling the bottom, moved off the other edge", {216, 956, 345, 1152}, -50, 500, false},
        {"filling the desktop exactly, moved", {0, 0, 1920, 1080}, 0, 0, false},
        {"an empty window", {10, 2000, 10, 2000}, 10, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(toolkit::KeptOnScreen(c.form, c.x, c.y, Desktop), c.kept);
    }
}

TEST(KeptOnScreen, TheDesktopMayStartLeftOfAndAboveThePrimary) {
    const RectI desktop{-1024, -200, 1280, 800};
    EXPECT_TRUE(toolkit::KeptOnScreen({-1100, 0, -900, 136}, -1024, 0, desktop));
    EXPECT_FALSE(toolkit::KeptOnScreen({-1100, 0, -900, 136}, -1025, 0, desktop));
    EXPECT_FALSE(toolkit::KeptOnScreen({-1000, -150, -800, -14}, -900, -100, desktop));
}

} // namespace
