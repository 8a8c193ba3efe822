// Where mouse and keyboard input goes: tool buttons click on a left-button
// release inside them and only when enabled, the pressed control keeps the
// mouse until the release, number boxes take the keyboard focus by a press
// or by Tab in their tab order, and a tool button never takes the focus, so
// text typed into a box and not yet committed survives a click elsewhere.
#include "toolkit/Form.h"

#include "tests/support/HostedForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using toolkit::Control;
using toolkit::Key;
using toolkit::MouseButton;
using toolkit::RectI;

struct Window : fakes::HostedForm {
    std::vector<std::string> clicks;

    Window() {
        Opening opening;
        opening.scale = 1.25f;
        opening.left = 40;
        opening.top = 30;
        opening.drawGlyphs = true;
        Open(opening);
        for (toolkit::ToolButton* button : f.Buttons()) {
            Record(*button);
        }
        f.Rectangle2->onMouseDown = [this](auto&, auto, auto, auto, auto) {
            form.StartWindowDrag();
        };
    }

    void Record(toolkit::ToolButton& button) {
        button.onClick = [this, &button](Control& sender) {
            EXPECT_EQ(&sender, &button);
            clicks.push_back(sender.Name() + (button.IsPressed() ? " pressed" : ""));
        };
    }

    // A physical client point well inside a control.
    static std::pair<int, int> Inside(const Control& c) {
        const RectI& r = c.PhysicalRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Down(const Control& c, MouseButton b = MouseButton::Left) {
        auto [x, y] = Inside(c);
        form.HostMouseDown(x, y, b, 0);
    }
    void Up(const Control& c, MouseButton b = MouseButton::Left) {
        auto [x, y] = Inside(c);
        form.HostMouseUp(x, y, b, 0);
    }
    void Click(const Control& c, MouseButton b = MouseButton::Left) {
        Down(c, b);
        Up(c, b);
    }
    void Type(std::wstring_view text) {
        for (wchar_t ch : text) {
            form.HostChar(ch);
        }
    }
};

TEST(InputRouting, ToolButtonClicksOnlyOnLeftReleaseInside) {
    enum Where { Button, OtherButton, TitleBar, Viewfinder };
    struct Case {
        const char* name;
        MouseButton mouse;
        Where press;
        Where release;
        bool clicks;
    };
    const Case cases[] = {
        {"left press and release", MouseButton::Left, Button, Button, true},
        {"right button", MouseButton::Right, Button, Button, false},
        {"middle button", MouseButton::Middle, Button, Button, false},
        {"released over another button", MouseButton::Left, Button, OtherButton, false},
        {"released over the viewfinder", MouseButton::Left, Button, Viewfinder, false},
        {"pressed elsewhere, released on it", MouseButton::Left, OtherButton, Button, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        const Control* at[] = {w.f.CutBtn, w.f.SaveBmpBtn, w.f.Rectangle2, w.f.Rectangle1};
        w.Down(*at[c.press], c.mouse);
        EXPECT_TRUE(w.host.captured) << "the pressed control keeps the mouse";
        w.Up(*at[c.release], c.mouse);
        EXPECT_FALSE(w.host.captured);
        const std::vector<std::string> expected =
            c.clicks ? std::vector<std::string>{"CutBtn"} : std::vector<std::string>{};
        EXPECT_EQ(w.clicks, expected);
    }
}

TEST(InputRouting, LeavingAndComingBackBeforeTheReleaseStillClicks) {
    Window w;
    auto [x, y] = Window::Inside(*w.f.SetRectBtn);
    w.form.HostMouseDown(x, y, MouseButton::Left, 0);
    w.form.HostMouseMove(x + 200, y + 200, toolkit::LeftButtonDown);
    w.form.HostMouseMove(x + 1, y, toolkit::LeftButtonDown);
    w.form.HostMouseUp(x + 1, y, MouseButton::Left, 0);
    EXPECT_EQ(w.clicks, std::vector<std::string>{"SetRectBtn"});
}

TEST(InputRouting, LatchingButtonTogglesOnPressAndItsClickSeesTheNewState) {
    Window w;
    toolkit::ToolButton& top = *w.f.TopBtn;
    w.Down(top);
    EXPECT_TRUE(top.IsPressed()) << "toggled by the press, before the release";
    w.Up(top);
    w.Click(top);
    EXPECT_FALSE(top.IsPressed());
    w.Click(top, MouseButton::Right);
    EXPECT_FALSE(top.IsPressed()) << "only the left button toggles";
    EXPECT_EQ(w.clicks, (std::vector<std::string>{"TopBtn pressed", "TopBtn"}));
    // A button that does not latch never stays pressed.
    w.Click(*w.f.CutBtn);
    EXPECT_FALSE(w.f.CutBtn->IsPressed());
}

TEST(InputRouting, DisabledButtonsNeverClick) {
    Window w;
    toolkit::ToolButton& copy = *w.f.CopyBtn;
    toolkit::ToolButton& top = *w.f.TopBtn;
    copy.SetEnabled(false);
    top.SetEnabled(false);
    w.Click(copy);
    w.Click(top);
    EXPECT_FALSE(top.IsPressed());
    EXPECT_FALSE(w.host.captured);
    EXPECT_FALSE(w.form.Moving()) << "the press did not fall through to the title bar";
    // Disabled while the button is held down.
    toolkit::ToolButton& save = *w.f.SaveBmpBtn;
    w.Down(save);
    save.SetEnabled(false);
    w.Up(save);
    EXPECT_TRUE(w.clicks.empty());
    // Enabled again, they work.
    copy.SetEnabled(true);
    w.Click(copy);
    EXPECT_EQ(w.clicks, std::vector<std::string>{"CopyBtn"});
}

TEST(InputRouting, PressOnANumberBoxFocusesItAndTypingGoesThere) {
    Window w;
    EXPECT_EQ(w.form.Focused(), nullptr);
    w.f.NBoxW->SetValue(626.25);
    w.f.NBoxH->SetValue(415);
    w.Click(*w.f.NBoxW);
    EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
    w.form.HostKeyDown(Key::SelectAll, toolkit::CtrlKey);
    w.Type(L"+640");
    EXPECT_EQ(w.f.NBoxW->Text(), L"+640");
    EXPECT_EQ(w.f.NBoxH->Text(), L"415");
    w.Click(*w.f.NBoxH);
    EXPECT_EQ(w.form.Focused(), w.f.NBoxH);
    // Leaving the box committed the typed text.
    EXPECT_EQ(w.f.NBoxW->Value(), 640);
    EXPECT_EQ(w.f.NBoxW->Text(), L"640");
    w.form.HostKeyDown(Key::Up, 0);
    EXPECT_EQ(w.f.NBoxH->Value(), 416);
    EXPECT_EQ(w.f.NBoxW->Value(), 640);
}

TEST(InputRouting, ButtonClickLeavesUncommittedTextInTheFocusedBox) {
    Window w;
    w.f.NBoxW->SetValue(626);
    std::wstring seenByHandler;
    w.f.SetRectBtn->onClick = [&](Control&) { seenByHandler = w.f.NBoxW->Text(); };
    w.Click(*w.f.NBoxW);
    w.form.HostKeyDown(Key::SelectAll, toolkit::CtrlKey);
    w.Type(L"+640");
    for (toolkit::ToolButton* other : {w.f.CutBtn, w.f.TopBtn}) {
        w.Click(*other);
        EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
        EXPECT_EQ(w.f.NBoxW->Text(), L"+640");
    }
    w.Click(*w.f.SetRectBtn);
    EXPECT_EQ(seenByHandler, L"+640");
    EXPECT_EQ(w.f.NBoxW->Value(), 626) << "not committed by a button click";
}

TEST(InputRouting, TabVisitsTheBoxesInTabOrderAndWraps) {
    struct Case {
        const char* name;
        std::vector<bool> shifts; // one Tab press each
        std::vector<const char*> focused;
    };
    const Case cases[] = {
        {"forward from nothing", {false, false, false}, {"NBoxH", "NBoxW", "NBoxH"}},
        {"backward from nothing", {true, true, true}, {"NBoxW", "NBoxH", "NBoxW"}},
        {"there and back", {false, false, true, true}, {"NBoxH", "NBoxW", "NBoxH", "NBoxW"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        for (std::size_t i = 0; i < c.shifts.size(); ++i) {
            w.form.HostKeyDown(Key::Tab, c.shifts[i] ? toolkit::ShiftKey : 0u);
            ASSERT_NE(w.form.Focused(), nullptr);
            EXPECT_EQ(w.form.Focused()->Name(), c.focused[i]) << "after press " << i;
        }
    }
}

TEST(InputRouting, TabAndLosingTheWindowFocusCommit) {
    Window w;
    w.f.NBoxH->SetValue(100);
    w.form.HostKeyDown(Key::Tab, 0);
    ASSERT_EQ(w.form.Focused(), w.f.NBoxH);
    w.form.HostKeyDown(Key::SelectAll, toolkit::CtrlKey);
    w.Type(L"+77");
    w.form.HostKeyDown(Key::Tab, 0);
    EXPECT_EQ(w.f.NBoxH->Value(), 77);
    EXPECT_EQ(w.f.NBoxH->Text(), L"77");

    w.form.HostKeyDown(Key::SelectAll, toolkit::CtrlKey);
    w.Type(L"-5");
    EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
    w.form.HostFocusLost();
    EXPECT_EQ(w.form.Focused(), nullptr);
    EXPECT_EQ(w.f.NBoxW->Value(), 0) << "held at the box's minimum";
    EXPECT_EQ(w.f.NBoxW->Text(), L"0");
    // With no box focused, typing reaches no box.
    w.Type(L"9");
    EXPECT_EQ(w.f.NBoxW->Text(), L"0");
    EXPECT_EQ(w.f.NBoxH->Text(), L"77");
}

TEST(InputRouting, DoubleClickOnABoxReachesItsHandler) {
    Window w;
    std::vector<std::string> doubleClicks;
    w.f.NBoxH->onDoubleClick = [&](Control& sender) { doubleClicks.push_back(sender.Name()); };
    auto [x, y] = Window::Inside(*w.f.NBoxH);
    w.form.HostMouseDown(x, y, MouseButton::Left, 0);
    w.form.HostMouseUp(x, y, MouseButton::Left, 0);
    w.form.HostDoubleClick(x, y, MouseButton::Left, 0);
    w.form.HostMouseUp(x, y, MouseButton::Left, 0);
    EXPECT_EQ(doubleClicks, std::vector<std::string>{"NBoxH"});
    EXPECT_EQ(w.form.Focused(), w.f.NBoxH);
    EXPECT_FALSE(w.host.captured);
}

TEST(InputRouting, NumberBoxesShowTheTextCursor) {
    Window w;
    auto [x, y] = Window::Inside(*w.f.NBoxW);
    w.form.HostMouseMove(x, y, 0);
    EXPECT_EQ(w.host.LastCursor(), toolkit::Cursor::IBeam);
    auto [bx, by] = Window::Inside(*w.f.CopyWindBtn);
    w.form.HostMouseMove(bx, by, 0);
    EXPECT_EQ(w.host.LastCursor(), toolkit::Cursor::Arrow);
}

} // namespace
