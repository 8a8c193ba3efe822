// Moving and resizing the window through the form, the way the window system
// drives it: a press on the title bar or the viewfinder whose handler starts
// the tracking, pointer movements reported relative to wherever the window
// is now, and the release. The grabbed point of the title bar must stay under
// the pointer, and a pointer that does not move must not move the window.
#include "toolkit/Form.h"

#include "tests/support/HostedForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using toolkit::Cursor;
using toolkit::MouseButton;
using toolkit::RectI;

const float Scales[] = {1.0f, static_cast<float>(114 / 100.0), 1.25f, 1.5f, 1.75f, 2.0f, 2.25f};

// The capture window's wiring: the title bar moves the window, the
// viewfinder resizes it, whatever button was pressed.
struct TrackedWindow : fakes::HostedForm {
    explicit TrackedWindow(float scale, int left = 100, int top = 80) {
        Open(Opening::Tracked(scale, left, top));
    }

    // The pointer at a physical screen position, told to the form in its
    // client coordinates as the window system does.
    void Down(int x, int y, MouseButton button = MouseButton::Left) {
        const RectI s = form.ScreenRect();
        form.HostMouseDown(x - s.left, y - s.top, button, 0);
    }
    void Move(int x, int y) {
        const RectI s = form.ScreenRect();
        form.HostMouseMove(x - s.left, y - s.top, toolkit::LeftButtonDown);
    }
    void Up(int x, int y, MouseButton button = MouseButton::Left) {
        const RectI s = form.ScreenRect();
        form.HostMouseUp(x - s.left, y - s.top, button, 0);
    }
    // A physical screen point inside a control, a few pixels from its corner.
    std::pair<int, int> PointIn(const toolkit::Control& control, int dx = 3, int dy = 3) const {
        const RectI s = form.ScreenRect();
        const RectI& r = control.PhysicalRect();
        return {s.left + r.left + dx, s.top + r.top + dy};
    }
};

TEST(FormTracking, TitleBarPointStaysUnderThePointer) {
    struct Step {
        int dx;
        int dy;
    };
    const std::vector<Step> path = {{1, 0},   {0, 1},       {3, 2},   {-7, 5},  {40, -33},
                                    {-1, -1}, {-200, -150}, {-3, -1}, {11, 17}, {250, 900}};
    for (const float scale : Scales) {
        for (const auto& [left, top] : {std::pair{100, 80}, std::pair{-3, -41}, std::pair{7, 5}}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " from " << left << "," << top);
            TrackedWindow w(scale, left, top);
            // Between the grid and the number boxes: title bar, no child.
            auto [px, py] = w.PointIn(*w.f.Rectangle2, int(222 * scale), int(17 * scale));
            w.Down(px, py);
            ASSERT_TRUE(w.form.Moving());
            EXPECT_TRUE(w.host.captured);
            const double pressX = px / double(scale) - w.form.Left();
            const double pressY = py / double(scale) - w.form.Top();
            for (const Step& step : path) {
                px += step.dx;
                py += step.dy;
                SCOPED_TRACE(testing::Message() << "pointer at " << px << "," << py);
                w.Move(px, py);
                EXPECT_EQ(w.form.ClientWidth(), Form1Width);
                EXPECT_EQ(w.form.ClientHeight(), Form1Height);
                EXPECT_EQ(w.host.presented.back(), w.form.ScreenRect());
                // In logical units the grabbed point is within half a unit of
                // the pointer: the window goes to the nearest whole position.
                EXPECT_LE(std::abs(px / double(scale) - w.form.Left() - pressX), 0.5 + 1e-4);
                EXPECT_LE(std::abs(py / double(scale) - w.form.Top() - pressY), 0.5 + 1e-4);
                // The window system reports the pointer again once the window
                // has moved under it; that is no movement of the pointer.
                const int settledLeft = w.form.Left();
                const int settledTop = w.form.Top();
                w.Move(px, py);
                w.Move(px, py);
                EXPECT_EQ(w.form.Left(), settledLeft);
                EXPECT_EQ(w.form.Top(), settledTop);
            }
            w.Up(px, py);
            EXPECT_FALSE(w.form.Moving());
            EXPECT_FALSE(w.host.captured);
            const int released = w.form.Left();
            w.Move(px + 50, py + 50);
            EXPECT_EQ(w.form.Left(), released) << "moved after the release";
        }
    }
}

TEST(FormTracking, WholeUnitMovesAreFollowedExactly) {
    // At 200 % two pixels are one unit, so each movement is whole units.
    TrackedWindow w(2.0f, 10, 20);
    auto [px, py] = w.PointIn(*w.f.Rectangle2, 444, 30);
    w.Down(px, py);
    w.Move(px + 100, py + 60);
    EXPECT_EQ(w.form.Left(), 60);
    EXPECT_EQ(w.form.Top(), 50);
    w.Move(px - 100, py - 100);
    EXPECT_EQ(w.form.Left(), -40);
    EXPECT_EQ(w.form.Top(), -30);
    EXPECT_EQ(w.form.ScreenRect().left, -80);
    EXPECT_EQ(w.form.ScreenRect().top, -60);
    w.Up(px - 100, py - 100);
}

TEST(FormTracking, AnyButtonStartsTrackingOnBothRectangles) {
    const MouseButton buttons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle};
    for (const MouseButton button : buttons) {
        for (const bool onTitleBar : {true, false}) {
            SCOPED_TRACE(testing::Message() << "button " << int(button) << " on "
                                            << (onTitleBar ? "title bar" : "viewfinder"));
            TrackedWindow w(1.0f);
            auto [px, py] = onTitleBar ? w.PointIn(*w.f.Rectangle2, 222, 17)
                                       : w.PointIn(*w.f.Rectangle1, 200, 100);
            w.Down(px, py, button);
            EXPECT_EQ(w.form.Moving(), onTitleBar);
            EXPECT_EQ(w.form.Resizing(), !onTitleBar);
            w.Move(px + 10, py + 20);
            if (onTitleBar) {
                EXPECT_EQ(w.form.Left(), 110);
                EXPECT_EQ(w.form.ClientWidth(), Form1Width);
            } else {
                EXPECT_EQ(w.form.Left(), 100);
                EXPECT_EQ(w.form.ClientWidth(), Form1Width + 10);
                EXPECT_EQ(w.form.ClientHeight(), Form1Height + 20);
            }
            w.Up(px + 10, py + 20, button);
            EXPECT_FALSE(w.form.Moving() || w.form.Resizing());
            EXPECT_FALSE(w.host.captured);
        }
    }
}

TEST(FormTracking, ResizeFollowsThePointerAndStopsAtTheSmallestWindow) {
    TrackedWindow w(1.25f, 200, 100);
    // Anywhere in the viewfinder.
    auto [px, py] = w.PointIn(*w.f.Rectangle1, 300, 120);
    w.Down(px, py);
    ASSERT_TRUE(w.form.Resizing());
    w.Move(px + 50, py + 25); // 40 and 20 units
    EXPECT_EQ(w.form.ClientWidth(), 541);
    EXPECT_EQ(w.form.ClientHeight(), 388);
    EXPECT_EQ(w.form.Left(), 200);
    EXPECT_EQ(w.form.Top(), 100);
    EXPECT_EQ(w.host.LastCursor(), Cursor::SizeNwse);
    EXPECT_EQ(w.f.Rectangle1->Height(), 352.0f);
    EXPECT_EQ(w.f.ExitBtn->Bounds().x, 541 - 26);

    // Past the left and top edges: one unit wide, nothing below the title bar.
    w.Move(px - 2000, py - 2000);
    EXPECT_EQ(w.form.ClientWidth(), 1);
    EXPECT_EQ(w.form.ClientHeight(), shapes::TitleBar);
    EXPECT_EQ(w.f.Rectangle1->Height(), 0.0f);
    // Coming back grows the window at once.
    w.Move(px - 1995, py - 1990);
    EXPECT_EQ(w.form.ClientWidth(), 5);
    EXPECT_EQ(w.form.ClientHeight(), 44);

    w.Up(px - 1995, py - 1990);
    EXPECT_FALSE(w.form.Resizing());
    EXPECT_FALSE(w.host.captured);
    EXPECT_EQ(w.host.LastCursor(), Cursor::Arrow);
}

TEST(FormTracking, PressesOnControlsOfTheTitleBarDoNotMoveTheWindow) {
    TrackedWindow w(1.5f);
    w.f.CopyBtn->SetEnabled(false);
    const toolkit::Control* targets[] = {w.f.CopyBtn, w.f.CutBtn, w.f.NBoxW, w.f.ExitBtn};
    for (const toolkit::Control* target : targets) {
        SCOPED_TRACE(target->Name());
        auto [px, py] = w.PointIn(*target);
        w.Down(px, py);
        EXPECT_FALSE(w.form.Moving());
        w.Move(px + 30, py + 30);
        EXPECT_EQ(w.form.Left(), 100);
        EXPECT_EQ(w.form.Top(), 80);
        w.Up(px + 30, py + 30);
        EXPECT_FALSE(w.host.captured);
    }
}

TEST(FormTracking, LosingTheCaptureEndsTracking) {
    TrackedWindow w(1.0f);
    auto [px, py] = w.PointIn(*w.f.Rectangle2, 222, 17);
    w.Down(px, py);
    w.Move(px + 5, py + 5);
    w.form.HostCaptureLost();
    EXPECT_FALSE(w.form.Moving());
    const int left = w.form.Left();
    w.Move(px + 50, py + 5);
    EXPECT_EQ(w.form.Left(), left);
    // The next press on the title bar starts afresh.
    w.Down(px + 50, py + 5);
    EXPECT_TRUE(w.form.Moving());
}

} // namespace
