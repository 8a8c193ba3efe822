// Placing controls in logical units: bars aligned to the top, the area that
// fills the rest, anchored edges that keep their distances when the parent
// is resized, grid cells, and the smallest window the form allows. Physical
// rectangles follow from the logical ones by the scale.
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/GridLayout.h"

#include "tests/support/FakeFormHost.h"
#include "tests/support/CaptureForm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using shapes::CaptureForm;
using shapes::TitleBar;
using toolkit::Control;
using toolkit::RectF;
using toolkit::RectI;

testing::AssertionResult BoundsAre(const Control& control, RectF expected) {
    const RectF& b = control.Bounds();
    if (b.x == expected.x && b.y == expected.y && b.width == expected.width &&
        b.height == expected.height) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << control.Name() << " is at " << b.x << "," << b.y << " " << b.width << "x" << b.height
           << ", expected " << expected.x << "," << expected.y << " " << expected.width << "x"
           << expected.height;
}

TEST(Layout, TitleBarOnTopViewfinderFillsTheRest) {
    struct Case {
        int width;
        int height;
    };
    const Case cases[] = {
        {501, 368}, {640, 480}, {120, TitleBar + 1}, {501, TitleBar}, {1, TitleBar}};
    CaptureForm f;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        f.form.SetClientSize(c.width, c.height);
        EXPECT_TRUE(BoundsAre(*f.Rectangle2, {0, 0, float(c.width), TitleBarHeight}));
        EXPECT_TRUE(BoundsAre(
            *f.Rectangle1, {0, TitleBarHeight, float(c.width), float(c.height) - TitleBarHeight}));
    }
}

TEST(Layout, TopBarsStackInOrderAndTheFillerTakesWhatIsLeft) {
    toolkit::Form form("Form");
    form.SetWindowBounds(0, 0, 200, 100);
    // Added before the bars: the filler still goes below all of them.
    Control& filler = form.Add<Control>("filler");
    filler.SetAlign(toolkit::Align::Client);
    Control& first = form.Add<Control>("first");
    first.SetBounds({5, 7, 50, 10});
    first.SetAlign(toolkit::Align::Top);
    Control& second = form.Add<Control>("second");
    second.SetBounds({0, 0, 10, 20});
    second.SetAlign(toolkit::Align::Top);
    EXPECT_TRUE(BoundsAre(first, {0, 0, 200, 10}));
    EXPECT_TRUE(BoundsAre(second, {0, 10, 200, 20}));
    EXPECT_TRUE(BoundsAre(filler, {0, 30, 200, 70}));
    // The bars together are the lowest height the form allows.
    EXPECT_EQ(form.MinimumClientHeight(), 30);
    form.SetClientSize(50, 10);
    EXPECT_TRUE(BoundsAre(filler, {0, 30, 50, 0}));
}

TEST(Layout, AnchorsKeepDistancesToTheirEdges) {
    struct Case {
        const char* name;
        unsigned anchors;
        RectF after; // child placed at (40, 30) 20 x 10 in 100 x 80, parent grows by 30 x 15
    };
    using namespace toolkit;
    const Case cases[] = {
        {"left and top stay", AnchorLeft | AnchorTop, {40, 30, 20, 10}},
        {"right moves", AnchorTop | AnchorRight, {70, 30, 20, 10}},
        {"left and right stretch", AnchorLeft | AnchorTop | AnchorRight, {40, 30, 50, 10}},
        {"bottom moves", AnchorLeft | AnchorBottom, {40, 45, 20, 10}},
        {"top and bottom stretch", AnchorLeft | AnchorTop | AnchorBottom, {40, 30, 20, 25}},
        {"all four stretch", AnchorLeft | AnchorTop | AnchorRight | AnchorBottom, {40, 30, 50, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form form("Form");
        form.SetWindowBounds(0, 0, 100, 80);
        Control& child = form.Add<Control>("child");
        child.SetBounds({40, 30, 20, 10});
        child.SetAnchors(c.anchors);
        form.SetClientSize(130, 95);
        EXPECT_TRUE(BoundsAre(child, c.after));
        form.SetClientSize(100, 80);
        EXPECT_TRUE(BoundsAre(child, {40, 30, 20, 10}));
    }
}

TEST(Layout, CloseButtonFollowsTheRightEdge) {
    CaptureForm f;
    for (const int width : {501, 800, 600, 120, 30, 1, 501}) {
        SCOPED_TRACE(width);
        f.form.SetClientSize(width, 368);
        EXPECT_TRUE(BoundsAre(*f.ExitBtn, {float(width - 26), 6, 24, 22}));
        // The other title bar controls keep their places.
        EXPECT_TRUE(BoundsAre(*f.SetRectBtn, {312, 4, 24, 28}));
        EXPECT_TRUE(BoundsAre(*f.NBoxW, {226, 8, 40, 22}));
    }
    f.form.SetScale(1.25f);
    f.form.SetClientSize(640, 368);
    const RectI exit = f.ExitBtn->PhysicalRect();
    EXPECT_EQ(exit.left, std::trunc(614 * 1.25));
    EXPECT_EQ(exit.Width(), 30);
}

TEST(Layout, GridPlacesChildrenInCellsLeftToRight) {
    CaptureForm f;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(BoundsAre(*f.Buttons()[std::size_t(i)], {36.0f * i, 0, 36, 28}));
        EXPECT_TRUE(BoundsAre(*f.Buttons()[std::size_t(i + 3)], {32.0f * i, 0, 32, 28}));
    }
    // Physically the cells sit inside their grid, which sits in the title bar.
    const float scale = 1.75f;
    f.form.SetScale(scale);
    for (int i = 0; i < 3; ++i) {
        const RectI r = f.Buttons()[std::size_t(i + 3)]->PhysicalRect();
        const RectI grid = f.GridLayout2->PhysicalRect();
        EXPECT_EQ(grid.left, int(120 * scale));
        EXPECT_EQ(r.left, grid.left + int(32 * i * scale));
        EXPECT_EQ(r.top, grid.top);
        EXPECT_EQ(r.Width(), int(32 * scale));
        EXPECT_EQ(r.Height(), int(28 * scale));
    }
}

TEST(Layout, GridWrapsWhenARowIsFull) {
    toolkit::Form form("Form");
    form.SetWindowBounds(0, 0, 300, 300);
    auto& grid = form.Add<toolkit::GridLayout>("grid");
    grid.SetBounds({10, 10, 80, 100});
    for (int i = 0; i < 5; ++i) {
        grid.Add<Control>("cell" + std::to_string(i));
    }
    grid.SetCellSize(30, 20);
    const RectF expected[] = {
        {0, 0, 30, 20}, {30, 0, 30, 20}, {0, 20, 30, 20}, {30, 20, 30, 20}, {0, 40, 30, 20}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(BoundsAre(*grid.Children()[i], expected[i]));
    }
    // A cell wider than the grid still gets a row of its own.
    grid.SetCellSize(100, 20);
    EXPECT_TRUE(BoundsAre(*grid.Children()[1], {0, 20, 100, 20}));
}

TEST(Layout, WindowNeverNarrowerThanOneNorLowerThanTheTitleBar) {
    struct Case {
        int width;
        int height;
        int keptWidth;
        int keptHeight;
    };
    const Case cases[] = {
        {0, 0, 1, TitleBar},
        {-50, -400, 1, TitleBar},
        {1, TitleBar, 1, TitleBar},
        {2, TitleBar - 1, 2, TitleBar},
        {501, TitleBar + 1, 501, TitleBar + 1},
        {100000, 10000 + TitleBar, 100000, 10000 + TitleBar},
    };
    fakes::RecordingHost host;
    CaptureForm f;
    f.form.AttachHost(&host, nullptr);
    f.form.Create();
    f.form.SetScale(1.5f);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        f.form.SetWindowBounds(-20, 30, c.width, c.height);
        EXPECT_EQ(f.form.ClientWidth(), c.keptWidth);
        EXPECT_EQ(f.form.ClientHeight(), c.keptHeight);
        EXPECT_EQ(f.form.Left(), -20);
        EXPECT_EQ(f.form.Top(), 30);
        EXPECT_GE(f.Rectangle1->Height(), 0.0f);
        // The host is shown the kept size.
        ASSERT_FALSE(host.presented.empty());
        EXPECT_EQ(host.presented.back(), f.form.ScreenRect());
        EXPECT_EQ(host.presented.back().Width(), int(c.keptWidth * 1.5));
    }
}

} // namespace
