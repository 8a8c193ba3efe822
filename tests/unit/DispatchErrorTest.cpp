// A handler's error ends that handler only: the form shows it once on the
// host's error display and then takes the next event as usual, with no
// mouse capture or tracking left behind.
#include "toolkit/Form.h"

#include "tests/support/HostedForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using toolkit::Control;
using toolkit::MouseButton;
using toolkit::RectI;

struct Window : fakes::HostedForm {
    // Every failing handler counts its runs, so a case whose event never
    // reached its handler cannot pass on another handler's error.
    int failures = 0;
    [[noreturn]] void Fail() {
        ++failures;
        throw std::runtime_error("ファイルを作成できません");
    }

    Window() {
        Opening opening;
        opening.scale = 1.5f;
        opening.placed = false;
        Open(opening);
    }

    // Well inside a control; on the title bar, the free stretch between the
    // output buttons and the size boxes.
    std::pair<int, int> Inside(const Control& c) const {
        const RectI& r = c.PhysicalRect();
        if (&c == f.Rectangle2) {
            return {r.left + int(222 * form.Scale()), r.top + int(18 * form.Scale())};
        }
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(const Control& c) {
        auto [x, y] = Inside(c);
        form.HostMouseDown(x, y, MouseButton::Left, 0);
        form.HostMouseUp(x, y, MouseButton::Left, 0);
    }
    void DoubleClick(const Control& c) {
        auto [x, y] = Inside(c);
        form.HostMouseDown(x, y, MouseButton::Left, 0);
        form.HostMouseUp(x, y, MouseButton::Left, 0);
        form.HostDoubleClick(x, y, MouseButton::Left, 0);
        form.HostMouseUp(x, y, MouseButton::Left, 0);
    }
};

[[noreturn]] void Fail() {
    throw std::runtime_error("ファイルを作成できません");
}

TEST(DispatchError, HandlerErrorIsShownOnceAndTheNextEventRuns) {
    struct Case {
        const char* name;
        std::function<void(Window&)> arm;   // makes one handler throw
        std::function<void(Window&)> event; // the event that runs it
        int runs = 1;                       // how often the event runs it
    };
    const Case cases[] = {
        {"click handler", [](Window& w) { w.f.CutBtn->onClick = [&w](Control&) { w.Fail(); }; },
         [](Window& w) { w.Click(*w.f.CutBtn); }},
        {"mouse-down handler of the title bar",
         [](Window& w) {
             w.f.Rectangle2->onMouseDown = [&w](auto&, auto, auto, auto, auto) { w.Fail(); };
         },
         [](Window& w) { w.Click(*w.f.Rectangle2); }},
        {"mouse-down handler after it started a move",
         [](Window& w) {
             w.f.Rectangle2->onMouseDown = [&w](auto&, auto, auto, auto, auto) {
                 w.form.StartWindowDrag();
                 w.Fail();
             };
         },
         [](Window& w) { w.Click(*w.f.Rectangle2); }},
        {"double click on a rectangle with a failing press handler",
         [](Window& w) {
             w.f.Rectangle1->onMouseDown = [&w](auto&, auto, auto, auto, auto) { w.Fail(); };
         },
         [](Window& w) {
             // Both presses of the double click fail, each once.
             w.DoubleClick(*w.f.Rectangle1);
             ASSERT_EQ(w.host.errors.size(), 2u);
             w.host.errors.pop_back();
         },
         2},
        {"double-click handler of a box",
         [](Window& w) { w.f.NBoxW->onDoubleClick = [&w](Control&) { w.Fail(); }; },
         [](Window& w) { w.DoubleClick(*w.f.NBoxW); }},
        {"closing handler, asked twice", [](Window& w) { w.form.onClose = [&w] { w.Fail(); }; },
         [](Window& w) {
             // The window closes once: a second request while it closes
             // runs nothing and shows nothing again.
             w.form.HandleClose();
             w.form.HandleClose();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        std::vector<std::string> clicks;
        w.f.SaveBmpBtn->onClick = [&](Control& sender) { clicks.push_back(sender.Name()); };
        c.arm(w);
        c.event(w);
        EXPECT_EQ(w.failures, c.runs) << "the event must reach the failing handler";
        EXPECT_EQ(w.host.errors, std::vector<std::string>{"ファイルを作成できません"});
        EXPECT_FALSE(w.host.captured);
        EXPECT_FALSE(w.form.Moving() || w.form.Resizing());

        // The form goes on: the next click is delivered, and shows nothing.
        const int left = w.form.Left();
        w.Click(*w.f.SaveBmpBtn);
        EXPECT_EQ(clicks, std::vector<std::string>{"SaveBmpBtn"});
        EXPECT_EQ(w.host.errors.size(), 1u);
        EXPECT_EQ(w.form.Left(), left);
    }
}

// Whatever the host's display does, a handler's error never leaves the
// form's input entry points.
TEST(DispatchError, NoHostStillSwallowsTheError) {
    shapes::CaptureForm f;
    int runs = 0;
    f.CopyWindBtn->onClick = [&](Control&) {
        ++runs;
        Fail();
    };
    const RectI& r = f.CopyWindBtn->PhysicalRect();
    EXPECT_NO_THROW(f.form.HostMouseDown(r.left + 2, r.top + 2, MouseButton::Left, 0));
    EXPECT_NO_THROW(f.form.HostMouseUp(r.left + 2, r.top + 2, MouseButton::Left, 0));
    EXPECT_EQ(runs, 1) << "the click must have reached the failing handler";
}

} // namespace
