// Placing the window from the keyboard through the form, on the real
// window's controls: one unit a press, the window's limits, the boxes left
// alone, and the viewfinder on the screen still exactly what a region
// capture copies. (Which keys place the window at all: KeyPlacementTest.cpp.)
#include "toolkit/Form.h"
#include "toolkit/KeyPlacement.h"

#include "capture/CaptureMath.h"
#include "platform/Units.h"
#include "tests/support/HostedForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using toolkit::Key;

constexpr unsigned Shift = toolkit::ShiftKey;
constexpr unsigned Ctrl = toolkit::CtrlKey;
constexpr unsigned Alt = toolkit::AltKey;

const float Scales[] = {1.0f, static_cast<float>(114 / 100.0), 1.25f, 1.5f, 1.75f};

// The capture window's controls and its mouse wiring, with size boxes that
// hold the values the program starts with.
struct Window : fakes::HostedForm {
    explicit Window(float scale = 1.25f, int left = 120, int top = 90) {
        Open(Opening::Tracked(scale, left, top));
        f.NBoxW->SetValue(double(f.Rectangle1->Width()) * scale);
        f.NBoxH->SetValue(double(f.Rectangle1->Height()) * scale);
    }

    void Press(Key key, unsigned modifiers = 0, int times = 1) {
        for (int i = 0; i < times; ++i) {
            form.HostKeyDown(key, modifiers);
        }
    }
    toolkit::WindowRect Geometry() const {
        return {form.Left(), form.Top(), form.ClientWidth(), form.ClientHeight()};
    }
    std::vector<std::wstring> BoxTexts() const { return {f.NBoxW->Text(), f.NBoxH->Text()}; }
    void FocusWidthBox() {
        const toolkit::RectI& r = f.NBoxW->PhysicalRect();
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        form.HostMouseDown(x, y, toolkit::MouseButton::Left, 0);
        form.HostMouseUp(x, y, toolkit::MouseButton::Left, 0);
        ASSERT_EQ(form.Focused(), f.NBoxW);
    }
    // Where the viewfinder lies on the screen, physical pixels.
    toolkit::RectI ViewfinderOnScreen() const {
        const toolkit::RectI s = form.ScreenRect();
        const toolkit::RectI& r = f.Rectangle1->PhysicalRect();
        return {s.left + r.left, s.top + r.top, s.left + r.right, s.top + r.bottom};
    }
    // What a region capture copies for the window as it is now.
    capture::CaptureRegion Region() const {
        return capture::RegionUnderViewfinder(form.Left(), form.Top(), TitleBarHeight,
                                              f.Rectangle1->Width(),
                                              capture::Trunc(f.Rectangle1->Height()), form.Scale());
    }
};

TEST(KeyboardPlacement, ArrowsMoveByOneUnitAPressAndKeepTheSize) {
    struct Step {
        Key key;
        int times;
        int dx;
        int dy;
    };
    // Held keys arrive as a run of presses, each one unit.
    const Step steps[] = {{Key::Right, 1, 1, 0},
                          {Key::Right, 30, 30, 0},
                          {Key::Down, 7, 0, 7},
                          {Key::Left, 45, -45, 0},
                          {Key::Up, 12, 0, -12}};
    for (const float scale : Scales) {
        for (unsigned modifiers : {0u, Ctrl}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " modifiers " << modifiers);
            Window w(scale, 5, 3);
            const std::vector<std::wstring> boxes = w.BoxTexts();
            for (const Step& s : steps) {
                SCOPED_TRACE(int(s.key));
                const toolkit::WindowRect before = w.Geometry();
                const std::size_t presented = w.host.presented.size();
                w.Press(s.key, modifiers, s.times);
                EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{before.left + s.dx, before.top + s.dy,
                                                             Form1Width, Form1Height}));
                EXPECT_EQ(w.host.presented.size(), presented + std::size_t(s.times))
                    << "every press is shown at once";
                const toolkit::RectI screen = w.host.presented.back();
                EXPECT_EQ(screen.left, platform::units::ToPhysical(w.form.Left(), scale));
                EXPECT_EQ(screen.top, platform::units::ToPhysical(w.form.Top(), scale));
            }
            // Left of and above the screen's origin as well.
            EXPECT_EQ(w.form.Left(), 5 + 31 - 45);
            EXPECT_EQ(w.form.Top(), 3 + 7 - 12);
            EXPECT_EQ(w.BoxTexts(), boxes) << "moving leaves the boxes alone";
            EXPECT_EQ(w.form.Focused(), nullptr);
            EXPECT_FALSE(w.form.Moving());
        }
    }
}

TEST(KeyboardPlacement, ShiftArrowsResizeFromTheBottomRightCorner) {
    for (const float scale : Scales) {
        for (unsigned modifiers : {Shift, Ctrl | Shift}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " modifiers " << modifiers);
            Window w(scale, 150, 70);
            const std::vector<std::wstring> boxes = w.BoxTexts();
            w.Press(Key::Right, modifiers, 9);
            w.Press(Key::Down, modifiers, 4);
            EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{150, 70, 510, 372}));
            w.Press(Key::Left, modifiers, 20);
            w.Press(Key::Up, modifiers, 50);
            EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{150, 70, 490, 322}));
            EXPECT_EQ(w.f.Rectangle1->Width(), 490.0f) << "the viewfinder follows";
            EXPECT_EQ(w.f.Rectangle1->Height(), 322.0f - TitleBarHeight);
            EXPECT_EQ(w.f.ExitBtn->Bounds().x, 490.0f - 26.0f) << "the close button stays right";
            EXPECT_EQ(w.BoxTexts(), boxes) << "resizing leaves the boxes alone";
        }
    }
}

TEST(KeyboardPlacement, ResizingStopsAtOneUnitWideAndAnEmptyViewfinder) {
    for (bool boxFocused : {false, true}) {
        SCOPED_TRACE(boxFocused ? "box focused, Ctrl+Shift" : "no focus, Shift");
        Window w(1.25f, 300, 200);
        if (boxFocused) {
            w.FocusWidthBox();
        }
        const unsigned modifiers = boxFocused ? Ctrl | Shift : Shift;
        w.form.SetWindowBounds(300, 200, 3, 38);
        w.Press(Key::Left, modifiers, 5);
        w.Press(Key::Up, modifiers, 5);
        EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{300, 200, 1, shapes::TitleBar}));
        EXPECT_EQ(w.f.Rectangle1->Height(), 0.0f);
        EXPECT_EQ(w.Region().width, 1);
        EXPECT_EQ(w.Region().height, 0);
        // Nothing of the presses past the limit is kept: one press back grows.
        w.Press(Key::Right, modifiers);
        w.Press(Key::Down, modifiers);
        EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{300, 200, 2, 37}));
    }
}

TEST(KeyboardPlacement, AFocusedBoxKeepsItsKeysAndCtrlPlacesTheWindowMeanwhile) {
    Window w(1.25f, 100, 100);
    w.FocusWidthBox();
    toolkit::NumberEdit& edit = w.f.NBoxW->Edit();
    const toolkit::WindowRect start = w.Geometry();
    const std::size_t presented = w.host.presented.size();
    ASSERT_EQ(w.f.NBoxW->Text(), L"626");

    w.Press(Key::Up);
    EXPECT_EQ(w.f.NBoxW->Text(), L"627");
    w.Press(Key::Down, 0, 3);
    EXPECT_EQ(w.f.NBoxW->Text(), L"624");
    w.Press(Key::Home);
    EXPECT_EQ(edit.Caret(), 0u);
    w.Press(Key::Right);
    EXPECT_EQ(edit.Caret(), 1u);
    w.Press(Key::Right, Shift, 2);
    EXPECT_EQ(edit.SelectedText(), L"24");
    w.Press(Key::Left, Shift);
    EXPECT_EQ(edit.SelectedText(), L"2");
    w.Press(Key::End);
    w.Press(Key::Left);
    EXPECT_EQ(edit.Caret(), 2u);
    // Alt with an arrow stays the box's, as before.
    w.Press(Key::Left, Alt);
    EXPECT_EQ(edit.Caret(), 1u);
    EXPECT_EQ(w.Geometry(), start) << "the box's keys never placed the window";
    EXPECT_EQ(w.host.presented.size(), presented);

    // Placement while the box holds the focus and its typed text.
    w.Press(Key::Home);
    w.Press(Key::Right, Shift);
    w.form.HostChar(L'9');
    ASSERT_EQ(w.f.NBoxW->Text(), L"924");
    const std::size_t caret = edit.Caret();
    w.Press(Key::Right, Ctrl, 3);
    w.Press(Key::Down, Ctrl, 2);
    w.Press(Key::Right, Ctrl | Shift, 5);
    w.Press(Key::Up, Ctrl | Shift, 4);
    EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{103, 102, Form1Width + 5, Form1Height - 4}));
    EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
    EXPECT_EQ(w.f.NBoxW->Text(), L"924") << "typed text is neither changed nor committed";
    EXPECT_EQ(w.f.NBoxW->Value(), 624.25) << "stepped from 626.25, the 9 not taken in";
    EXPECT_EQ(edit.Caret(), caret);
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(w.f.NBoxH->Text(), L"415");
}

// A focusable control that edits with no arrow key (a button taking the
// focus, say) leaves the plain and Shift arrows to the window's placement;
// the keys it does take still reach it, and a size box focused afterwards
// keeps its arrows again.
TEST(KeyboardPlacement, AFocusedControlWithoutArrowsLeavesThemToThePlacement) {
    struct FocusableWithoutArrows : toolkit::Control {
        FocusableWithoutArrows() : Control("FocusableWithoutArrows") {}
        bool TakesFocus() const override { return true; }
        void KeyDown(Key key, unsigned) override { keys.push_back(key); }
        std::vector<Key> keys;
    };
    Window w(1.25f, 100, 100);
    auto& control = w.f.Rectangle2->Add<FocusableWithoutArrows>();
    w.form.SetFocus(&control);
    ASSERT_EQ(w.form.Focused(), &control);
    const toolkit::WindowRect start = w.Geometry();

    w.Press(Key::Right, 0, 3);
    w.Press(Key::Up);
    w.Press(Key::Down, Shift, 2);
    w.Press(Key::Enter);
    EXPECT_EQ(w.Geometry(),
              (toolkit::WindowRect{start.left + 3, start.top - 1, start.width, start.height + 2}));
    EXPECT_EQ(control.keys, std::vector<Key>{Key::Enter}) << "only the key it takes";

    w.FocusWidthBox();
    const toolkit::WindowRect placed = w.Geometry();
    w.Press(Key::Up);
    EXPECT_EQ(w.Geometry(), placed);
    EXPECT_EQ(w.f.NBoxW->Text(), L"627");
}

TEST(KeyboardPlacement, AltArrowsAndOtherKeysLeaveAnUnfocusedWindowAlone) {
    Window w(1.5f, 60, 40);
    const toolkit::WindowRect start = w.Geometry();
    for (Key key : {Key::Left, Key::Right, Key::Up, Key::Down}) {
        w.Press(key, Alt);
        w.Press(key, Alt | Shift);
        w.Press(key, Alt | Ctrl);
    }
    for (Key key : {Key::Home, Key::End, Key::Enter, Key::Escape, Key::Other}) {
        w.Press(key);
        w.Press(key, Shift);
        w.Press(key, Ctrl);
    }
    EXPECT_EQ(w.Geometry(), start);
    EXPECT_EQ(w.form.Focused(), nullptr);
}

TEST(KeyboardPlacement, KeysWaitWhileTheMouseMovesOrResizesTheWindow) {
    for (bool resize : {false, true}) {
        SCOPED_TRACE(resize ? "resize" : "move");
        Window w(1.0f, 100, 100);
        const toolkit::Control& grabbed = resize ? *w.f.Rectangle1 : *w.f.Rectangle2;
        const toolkit::RectI& r = grabbed.PhysicalRect();
        // Right of the apply button: no control covers the title bar there.
        const int x = r.left + 400, y = r.top + 18;
        w.form.HostMouseDown(x, y, toolkit::MouseButton::Left, 0);
        ASSERT_TRUE(w.form.Moving() || w.form.Resizing());
        w.form.HostMouseMove(x + 10, y + 10, toolkit::LeftButtonDown);
        const toolkit::WindowRect dragged = w.Geometry();
        w.Press(Key::Right, 0, 3);
        w.Press(Key::Right, Shift, 3);
        w.Press(Key::Down, Ctrl, 3);
        EXPECT_EQ(w.Geometry(), dragged);
        w.form.HostMouseUp(x + 10, y + 10, toolkit::MouseButton::Left, 0);
        w.Press(Key::Right);
        w.Press(Key::Down, Shift);
        EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{dragged.left + 1, dragged.top, dragged.width,
                                                     dragged.height + 1}));
    }
}

// After any run of keys the pixels the viewfinder shows are the pixels a
// region capture copies: at every scale, every fraction of a unit's
// truncation.
TEST(KeyboardPlacement, TheViewfinderShownIsTheRegionCaptured) {
    for (const float scale : Scales) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        Window w(scale, 13, 7);
        w.form.SetWindowBounds(13, 7, 40, shapes::TitleBar + 30);
        for (int i = 0; i < 9; ++i) {
            w.Press(Key::Right);
            w.Press(Key::Down, Shift);
            w.Press(i % 2 == 0 ? Key::Right : Key::Up, Ctrl | Shift);
            w.Press(Key::Down, Ctrl);
            const capture::CaptureRegion region = w.Region();
            const toolkit::RectI shown = w.ViewfinderOnScreen();
            SCOPED_TRACE(testing::Message() << "after round " << i);
            EXPECT_EQ(region.x, shown.left);
            EXPECT_EQ(region.y, shown.top);
            EXPECT_EQ(region.width, shown.Width());
            EXPECT_EQ(region.height, shown.Height());
            EXPECT_EQ(w.host.presented.back().bottom, shown.bottom);
        }
        EXPECT_EQ(w.Geometry(), (toolkit::WindowRect{22, 16, 45, shapes::TitleBar + 30 + 9 - 4}));
    }
}

} // namespace
