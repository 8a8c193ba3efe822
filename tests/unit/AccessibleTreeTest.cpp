// The window as assistive technology reads and works it, on the real
// window definition: every control in reading order with its name, role,
// state, value and place on the screen; hit-testing and navigation; default
// actions that do what a left click does, through the same dispatch; typed
// values; and the changes a screen reader follows.
#include "toolkit/AccessibleTree.h"

#include "tests/support/HostedForm.h"
#include "tests/support/FakeFormHost.h"

#include "toolkit/NumberBox.h"
#include "toolkit/RectangleControl.h"
#include "toolkit/ToolButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using toolkit::AccessibleEvent;
using toolkit::AccessibleRole;
using toolkit::AccessibleTree;
using toolkit::Control;
using toolkit::MouseButton;
using toolkit::NavDirection;
using toolkit::RectI;
using Event = std::pair<AccessibleEvent, std::string>;

struct Window : fakes::HostedForm {
    AccessibleTree tree{form};

    explicit Window(float scale = 1.25f, int left = 40, int top = 30) {
        Opening opening;
        opening.scale = scale;
        opening.left = left;
        opening.top = top;
        opening.drawGlyphs = true;
        // As the creation handler leaves the window: no image yet.
        opening.created = [this] {
            f.SaveBmpBtn->SetEnabled(false);
            f.SavePngBtn->SetEnabled(false);
            f.CopyBtn->SetEnabled(false);
        };
        Open(opening);
        host.accessibleEvents.clear();
    }

    int Id(const Control* control) const { return tree.IdOf(*control).value_or(-1); }

    // Where the window's picture lies on the screen, as the form last handed
    // it to the host to show.
    RectI Shown() const { return host.presented.back(); }

    // Where a control is drawn, read from pixels alone: the bounding box, in
    // screen pixels, of every pixel that changes when the control alone is
    // shown marked (a tool button lit under the pointer, a box with the
    // focus frame, the viewfinder in another colour). Empty when nothing
    // changes.
    RectI Painted(int id) {
        Control* control = tree.ControlOf(id);
        toolkit::Canvas before;
        form.Render(before);
        const bool enabled = control->Enabled();
        toolkit::Control* const focused = form.Focused();
        auto* button = dynamic_cast<toolkit::ToolButton*>(control);
        auto* box = dynamic_cast<toolkit::NumberBox*>(control);
        auto* shape = dynamic_cast<toolkit::RectangleControl*>(control);
        const toolkit::Argb fill = shape != nullptr ? shape->FillColor() : 0;
        const toolkit::Argb stroke = shape != nullptr ? shape->StrokeColor() : 0;
        if (button != nullptr) {
            control->SetEnabled(true); // a disabled button does not light up
            button->MouseEnter();
        } else if (box != nullptr) {
            form.SetFocus(box == focused ? nullptr : box);
        } else if (shape != nullptr) {
            shape->SetFillColor(fill ^ 0x00FFFFFFu);
            shape->SetStrokeColor(stroke ^ 0x00FFFFFFu);
        }
        toolkit::Canvas after;
        form.Render(after);
        if (button != nullptr) {
            button->MouseLeave();
            control->SetEnabled(enabled);
        } else if (box != nullptr) {
            form.SetFocus(focused);
        } else if (shape != nullptr) {
            shape->SetFillColor(fill);
            shape->SetStrokeColor(stroke);
        }
        EXPECT_EQ(before.Width(), after.Width());
        EXPECT_EQ(before.Height(), after.Height());
        RectI changed{after.Width(), after.Height(), 0, 0};
        for (int y = 0; y < after.Height(); ++y) {
            for (int x = 0; x < after.Width(); ++x) {
                if (before.At(x, y) != after.At(x, y)) {
                    changed.left = std::min(changed.left, x);
                    changed.top = std::min(changed.top, y);
                    changed.right = std::max(changed.right, x + 1);
                    changed.bottom = std::max(changed.bottom, y + 1);
                }
            }
        }
        if (changed.left >= changed.right) {
            return {};
        }
        const RectI shown = Shown();
        return {shown.left + changed.left, shown.top + changed.top, shown.left + changed.right,
                shown.top + changed.bottom};
    }
    std::pair<int, int> Centre(int id) {
        const RectI r = Painted(id);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

void PrintRect(const RectI& r, std::ostream& out) {
    out << "[" << r.left << "," << r.top << " - " << r.right << "," << r.bottom << ")";
}

::testing::AssertionResult SameRect(const RectI& reported, const RectI& painted) {
    if (reported.left == painted.left && reported.top == painted.top &&
        reported.right == painted.right && reported.bottom == painted.bottom) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream text;
    text << "reported ";
    PrintRect(reported, text);
    text << ", painted ";
    PrintRect(painted, text);
    return ::testing::AssertionFailure() << text.str();
}

struct Expected {
    const char* control;
    const wchar_t* name;
    AccessibleRole role;
};

// Reading order: the title bar left to right, then the viewfinder below it.
const Expected Children[] = {
    {"TopBtn", L"TOP", AccessibleRole::CheckButton},
    {"CutBtn", L"矩形カット", AccessibleRole::PushButton},
    {"CopyWindBtn", L"Window取得", AccessibleRole::PushButton},
    {"CopyBtn", L"クリップボードにコピー", AccessibleRole::PushButton},
    {"SaveBmpBtn", L"BMPで保存", AccessibleRole::PushButton},
    {"SavePngBtn", L"PNGで保存", AccessibleRole::PushButton},
    {"NBoxW", L"Width:ダブルクリックで現在の幅をセット", AccessibleRole::EditableText},
    {"NBoxH", L"Height:ダブルクリックで現在の高さをセット", AccessibleRole::EditableText},
    {"SetRectBtn", L"切り取りサイズセット", AccessibleRole::PushButton},
    {"ExitBtn", L"閉じる", AccessibleRole::PushButton},
    {"Rectangle1", L"ビューファインダー", AccessibleRole::Graphic},
};

TEST(AccessibleTree, EveryControlInReadingOrderWithNameAndRole) {
    Window w;
    ASSERT_EQ(w.tree.ChildCount(), int(std::size(Children)));
    for (int id = 1; id <= w.tree.ChildCount(); ++id) {
        const Expected& e = Children[id - 1];
        SCOPED_TRACE(e.control);
        ASSERT_NE(w.tree.ControlOf(id), nullptr);
        EXPECT_EQ(w.tree.ControlOf(id)->Name(), e.control);
        EXPECT_EQ(w.tree.Name(id), e.name);
        EXPECT_EQ(w.tree.Role(id), e.role);
        EXPECT_EQ(w.tree.IdOf(*w.tree.ControlOf(id)), id);
    }
    // Containers are not shown; the window itself is id 0.
    EXPECT_EQ(w.tree.IdOf(*w.f.Rectangle2), std::nullopt);
    EXPECT_EQ(w.tree.IdOf(*w.f.GridLayout1), std::nullopt);
    EXPECT_EQ(w.tree.Role(AccessibleTree::Self), AccessibleRole::Window);
    EXPECT_EQ(w.tree.ControlOf(0), nullptr);
    EXPECT_EQ(w.tree.ControlOf(12), nullptr);
}

TEST(AccessibleTree, IdsStayWhenANarrowWindowMovesTheCloseButtonLeftOfTheOthers) {
    Window w;
    const int exit = w.Id(w.f.ExitBtn);
    w.form.SetClientSize(200, 100); // the close button now sits over the output grid
    EXPECT_EQ(w.Id(w.f.ExitBtn), exit);
    EXPECT_EQ(w.tree.Navigate(exit, NavDirection::Next), w.Id(w.f.Rectangle1));
    EXPECT_TRUE(SameRect(w.tree.Location(exit), w.Painted(exit))) << "the place follows the layout";
    EXPECT_LT(w.Painted(exit).left, w.Painted(w.Id(w.f.SavePngBtn)).right)
        << "the close button is drawn over the output grid";
}

TEST(AccessibleTree, StatesFollowEnabledLatchedAndFocus) {
    Window w;
    using namespace toolkit;
    const int top = w.Id(w.f.TopBtn), copy = w.Id(w.f.CopyBtn), cut = w.Id(w.f.CutBtn);
    const int boxW = w.Id(w.f.NBoxW), boxH = w.Id(w.f.NBoxH), view = w.Id(w.f.Rectangle1);
    EXPECT_EQ(w.tree.State(cut), StateNormal);
    EXPECT_EQ(w.tree.State(copy), StateUnavailable);
    EXPECT_EQ(w.tree.State(top), StateNormal);
    EXPECT_EQ(w.tree.State(boxW), StateFocusable);
    EXPECT_EQ(w.tree.State(view), StateNormal);

    w.f.TopBtn->Click();
    EXPECT_EQ(w.tree.State(top), StateChecked);
    w.f.CopyBtn->SetEnabled(true);
    EXPECT_EQ(w.tree.State(copy), StateNormal);
    w.form.HostKeyDown(Key::Tab, 0); // NBoxH comes first in the tab order
    EXPECT_EQ(w.tree.State(boxH), StateFocusable | StateFocused);
    EXPECT_EQ(w.tree.State(boxW), StateFocusable);
    // The window collapsed to its title bar: the viewfinder is not shown.
    w.form.SetClientSize(Form1Width, shapes::TitleBar);
    EXPECT_EQ(w.tree.State(view), StateInvisible);
}

TEST(AccessibleTree, ValueIsTheTextABoxShows) {
    Window w;
    w.f.NBoxW->SetValue(626.25);
    EXPECT_EQ(w.tree.Value(w.Id(w.f.NBoxW)), L"626");
    w.form.SetFocus(w.f.NBoxW);
    w.form.HostChar(L'7'); // typed, not yet committed
    EXPECT_EQ(w.tree.Value(w.Id(w.f.NBoxW)), w.f.NBoxW->Text());
    EXPECT_EQ(w.tree.Value(w.Id(w.f.CutBtn)), std::nullopt);
    EXPECT_EQ(w.tree.Value(w.Id(w.f.Rectangle1)), std::nullopt);
}

// Where each control is drawn: the frame of each box and the stroke of the
// viewfinder lie exactly on the edges of their reported places.
TEST(AccessibleTree, LocationIsWhereTheControlIsDrawnAtEveryScale) {
    for (const float scale : {1.0f, 1.25f, 1.5f, 1.75f}) {
        for (const int left : {0, 13, 41}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " left " << left);
            Window w(scale, left, 7);
            toolkit::Canvas canvas;
            w.form.Render(canvas);
            const RectI screen = w.form.ScreenRect();
            auto at = [&](int x, int y) { return canvas.At(x - screen.left, y - screen.top); };
            for (const toolkit::NumberBox* box : {w.f.NBoxW, w.f.NBoxH}) {
                const RectI r = w.tree.Location(w.Id(box));
                const int midY = (r.top + r.bottom) / 2;
                const int midX = (r.left + r.right) / 2;
                EXPECT_EQ(at(r.left, midY), 0xFF8A8A8Au) << box->Name();
                EXPECT_EQ(at(r.right - 1, midY), 0xFF8A8A8Au) << box->Name();
                EXPECT_EQ(at(midX, r.top), 0xFF8A8A8Au) << box->Name();
                EXPECT_EQ(at(midX, r.bottom - 1), 0xFF8A8A8Au) << box->Name();
                EXPECT_NE(at(r.left - 1, midY), 0xFF8A8A8Au) << box->Name();
                EXPECT_NE(at(r.right, midY), 0xFF8A8A8Au) << box->Name();
            }
            const RectI view = w.tree.Location(w.Id(w.f.Rectangle1));
            EXPECT_EQ(view.bottom, screen.bottom);
            EXPECT_EQ(view.left, screen.left);
            EXPECT_EQ(view.right, screen.right);
            EXPECT_EQ(at(view.left + 50, view.top), toolkit::Premultiply(0xFF000000, 0.5f));
            EXPECT_EQ(at(view.left + 50, view.top - 1),
                      toolkit::Premultiply(w.f.Rectangle2->StrokeColor(), 1.0f));
            EXPECT_EQ(w.tree.Location(AccessibleTree::Self), screen);
            // The window's place is where its picture is shown, as large as
            // the picture; each child's is exactly what it paints (at one
            // window position per scale: a full render per child is slow).
            const RectI self = w.tree.Location(AccessibleTree::Self);
            EXPECT_TRUE(SameRect(self, w.Shown()));
            EXPECT_EQ(self.Width(), canvas.Width());
            EXPECT_EQ(self.Height(), canvas.Height());
            for (int id = 1; left == 13 && id <= w.tree.ChildCount(); ++id) {
                SCOPED_TRACE(w.tree.ControlOf(id)->Name());
                EXPECT_TRUE(SameRect(w.tree.Location(id), w.Painted(id)));
            }
        }
    }
}

TEST(AccessibleTree, HitTestFindsEachChildTheWindowAndNothingOutside) {
    Window w(1.5f);
    for (int id = 1; id <= w.tree.ChildCount(); ++id) {
        SCOPED_TRACE(id);
        auto [x, y] = w.Centre(id);
        EXPECT_EQ(w.tree.HitTest(x, y), id);
    }
    const RectI screen = w.form.ScreenRect();
    // The free stretch of title bar between the output grid and the boxes.
    EXPECT_EQ(w.tree.HitTest(screen.left + int(222 * 1.5), screen.top + 20), AccessibleTree::Self);
    EXPECT_EQ(w.tree.HitTest(screen.left - 1, screen.top + 20), std::nullopt);
    EXPECT_EQ(w.tree.HitTest(screen.right, screen.bottom - 1), std::nullopt);
}

TEST(AccessibleTree, NavigatesInReadingOrderAndBySide) {
    Window w;
    const int count = w.tree.ChildCount();
    EXPECT_EQ(w.tree.Navigate(AccessibleTree::Self, NavDirection::FirstChild), 1);
    EXPECT_EQ(w.tree.Navigate(AccessibleTree::Self, NavDirection::LastChild), count);
    EXPECT_EQ(w.tree.Navigate(3, NavDirection::FirstChild), std::nullopt);
    for (int id = 1; id < count; ++id) {
        EXPECT_EQ(w.tree.Navigate(id, NavDirection::Next), id + 1);
        EXPECT_EQ(w.tree.Navigate(id + 1, NavDirection::Previous), id);
    }
    EXPECT_EQ(w.tree.Navigate(count, NavDirection::Next), std::nullopt);
    EXPECT_EQ(w.tree.Navigate(1, NavDirection::Previous), std::nullopt);

    struct Case {
        Control* from;
        NavDirection direction;
        Control* to;
    };
    const Case cases[] = {
        {w.f.TopBtn, NavDirection::Right, w.f.CutBtn},
        {w.f.SavePngBtn, NavDirection::Right, w.f.NBoxW},
        {w.f.NBoxH, NavDirection::Right, w.f.SetRectBtn},
        {w.f.SetRectBtn, NavDirection::Left, w.f.NBoxH},
        {w.f.CopyBtn, NavDirection::Left, w.f.CopyWindBtn},
        {w.f.CutBtn, NavDirection::Down, w.f.Rectangle1},
        {w.f.ExitBtn, NavDirection::Down, w.f.Rectangle1},
        {w.f.TopBtn, NavDirection::Left, nullptr},
        {w.f.ExitBtn, NavDirection::Right, nullptr},
        {w.f.CutBtn, NavDirection::Up, nullptr},
        {w.f.Rectangle1, NavDirection::Down, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from->Name() + " " + std::to_string(int(c.direction)));
        const auto to = w.tree.Navigate(w.Id(c.from), c.direction);
        if (c.to == nullptr) {
            EXPECT_EQ(to, std::nullopt);
        } else {
            EXPECT_EQ(to, w.Id(c.to));
        }
    }
    // Up from the viewfinder reaches a control of the title bar.
    const auto up = w.tree.Navigate(w.Id(w.f.Rectangle1), NavDirection::Up);
    ASSERT_TRUE(up.has_value());
    EXPECT_LT(w.Painted(*up).bottom, w.Painted(w.Id(w.f.Rectangle1)).top + 1);
    EXPECT_NE(w.tree.ControlOf(*up), w.f.Rectangle1);
}

TEST(AccessibleTree, DefaultActionDoesWhatALeftClickDoes) {
    Window w;
    using Result = AccessibleTree::ActionResult;
    std::vector<std::string> clicks;
    for (toolkit::ToolButton* button : w.f.Buttons()) {
        button->onClick = [&clicks, button](Control&) {
            clicks.push_back(button->Name() + (button->IsPressed() ? " pressed" : ""));
        };
    }
    EXPECT_EQ(w.tree.DefaultAction(w.Id(w.f.TopBtn)), L"Check");
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.TopBtn)), Result::Done);
    EXPECT_EQ(w.tree.DefaultAction(w.Id(w.f.TopBtn)), L"Uncheck");
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.TopBtn)), Result::Done);
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.CutBtn)), Result::Done);
    EXPECT_EQ(clicks, (std::vector<std::string>{"TopBtn pressed", "TopBtn", "CutBtn"}));

    // A disabled button: the action fails and nothing happens, nor is
    // anything announced.
    clicks.clear();
    w.host.accessibleEvents.clear();
    EXPECT_EQ(w.tree.DefaultAction(w.Id(w.f.CopyBtn)), L"Press");
    EXPECT_EQ(w.tree.CanDoDefaultAction(w.Id(w.f.CopyBtn)), Result::Unavailable);
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.CopyBtn)), Result::Unavailable);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(w.host.accessibleEvents, std::vector<Event>{});

    // A box takes the focus, as a click on it does; the viewfinder has no action.
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.NBoxW)), Result::Done);
    EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
    EXPECT_EQ(w.tree.DefaultAction(w.Id(w.f.Rectangle1)), L"");
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.Rectangle1)), Result::NoAction);
    EXPECT_EQ(w.tree.DoDefaultAction(AccessibleTree::Self), Result::NoAction);
    EXPECT_FALSE(w.form.Moving() || w.form.Resizing());
    // A tool button's action never moves the keyboard focus.
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.CutBtn)), Result::Done);
    EXPECT_EQ(w.form.Focused(), w.f.NBoxW);
}

TEST(AccessibleTree, AnActionsErrorGoesToTheErrorDisplayOnce) {
    Window w;
    int runs = 0;
    w.f.SetRectBtn->onClick = [&](Control&) {
        ++runs;
        throw std::runtime_error("'' は Integer 型の値として有効な整数値ではありません");
    };
    EXPECT_EQ(w.tree.DoDefaultAction(w.Id(w.f.SetRectBtn)), AccessibleTree::ActionResult::Done);
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(w.host.errors.size(), 1u);
    EXPECT_EQ(w.host.errors[0], "'' は Integer 型の値として有効な整数値ではありません");
}

TEST(AccessibleTree, SettingAValueTypesItAndPressesEnter) {
    struct Case {
        const char* box;
        const wchar_t* typed;
        const wchar_t* shown;
        double value;
    };
    const Case cases[] = {
        {"NBoxW", L"640", L"640", 640},       {"NBoxW", L"+640", L"640", 640},
        {"NBoxH", L"12000", L"10000", 10000}, {"NBoxW", L"12000", L"12000", 12000},
        {"NBoxW", L"6a4b0", L"640", 640},     {"NBoxW", L"", L"0", 0},
        {"NBoxH", L"+-", L"415", 415}, // not a number: the value stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.box << " '" << std::string(c.typed, c.typed + wcslen(c.typed)) << "'");
        Window w;
        w.f.NBoxH->SetValue(415);
        toolkit::NumberBox* box = std::string(c.box) == "NBoxW" ? w.f.NBoxW : w.f.NBoxH;
        w.host.accessibleEvents.clear();
        ASSERT_TRUE(w.tree.SetValue(w.Id(box), c.typed));
        EXPECT_EQ(box->Text(), c.shown);
        EXPECT_EQ(box->Value(), c.value);
        EXPECT_EQ(w.form.Focused(), nullptr) << "no focus moves";
    }
    Window w;
    EXPECT_FALSE(w.tree.SetValue(w.Id(w.f.CutBtn), L"1"));
    EXPECT_FALSE(w.tree.SetValue(AccessibleTree::Self, L"1"));
    EXPECT_EQ(w.tree.CanSetValue(w.Id(w.f.CutBtn)), AccessibleTree::ActionResult::NoAction);
    EXPECT_EQ(w.tree.CanSetValue(w.Id(w.f.NBoxW)), AccessibleTree::ActionResult::Done);
}

// A disabled box takes no value, as a disabled control runs no action: the
// text stays, and no value change is told.
TEST(AccessibleTree, ADisabledBoxRefusesAValue) {
    Window w;
    w.f.NBoxW->SetValue(501);
    w.f.NBoxW->SetEnabled(false);
    w.host.accessibleEvents.clear();
    EXPECT_EQ(w.tree.CanSetValue(w.Id(w.f.NBoxW)), AccessibleTree::ActionResult::Unavailable);
    EXPECT_FALSE(w.tree.SetValue(w.Id(w.f.NBoxW), L"640"));
    EXPECT_EQ(w.f.NBoxW->Text(), L"501");
    EXPECT_EQ(w.f.NBoxW->Value(), 501);
    EXPECT_TRUE(w.host.accessibleEvents.empty());
    w.f.NBoxW->SetEnabled(true);
    EXPECT_TRUE(w.tree.SetValue(w.Id(w.f.NBoxW), L"640"));
    EXPECT_EQ(w.f.NBoxW->Value(), 640);
}

// Controls of kinds the tree has never heard of: each answers for itself
// through the control's own interface, as the window's own controls do.
class Dial : public Control {
public:
    using Control::Control;
    AccessibleRole Role() const override { return AccessibleRole::EditableText; }
    bool TakesFocus() const override { return true; }
    std::optional<std::wstring> AccessibleValue() const override { return text; }
    void SetAccessibleValue(const std::wstring& typed) override { text = L"dial " + typed; }
    std::wstring DefaultAction() const override { return L"Turn"; }
    void DoDefaultAction(toolkit::Form&) override { text += L"+"; }

    std::wstring text = L"0";
};

class Lamp : public Control {
public:
    using Control::Control;
    AccessibleRole Role() const override { return AccessibleRole::CheckButton; }
    unsigned AccessibleState() const override {
        return lit ? Control::AccessibleState() | toolkit::StateChecked
                   : Control::AccessibleState();
    }
    bool lit = false;
};

TEST(AccessibleTree, EachKindOfControlAnswersForItself) {
    fakes::RecordingHost host;
    fakes::PatternRasterizer glyphs;
    toolkit::Form form("Other");
    Dial& dial = form.Add<Dial>("Dial");
    dial.SetBounds({0, 0, 40, 20});
    Lamp& lamp = form.Add<Lamp>("Lamp");
    lamp.SetBounds({50, 0, 20, 20});
    // A plain control given a role: pressed by its action, which does nothing.
    Control& plain = form.Add<Control>("Plain");
    plain.SetRole(AccessibleRole::PushButton);
    plain.SetBounds({80, 0, 20, 20});
    form.AttachHost(&host, &glyphs);
    form.Create();
    form.SetWindowBounds(0, 0, 120, 40);
    AccessibleTree tree(form);
    ASSERT_EQ(tree.ChildCount(), 3);
    using Result = AccessibleTree::ActionResult;
    using toolkit::StateChecked;
    using toolkit::StateFocusable;
    using toolkit::StateFocused;

    EXPECT_EQ(tree.Value(1), std::optional<std::wstring>(L"0"));
    EXPECT_TRUE(tree.TakesValue(1));
    EXPECT_TRUE(tree.SetValue(1, L"7"));
    EXPECT_EQ(dial.text, L"dial 7");
    EXPECT_EQ(tree.DefaultAction(1), L"Turn");
    EXPECT_EQ(tree.DoDefaultAction(1), Result::Done);
    EXPECT_EQ(dial.text, L"dial 7+");
    EXPECT_EQ(form.Focused(), nullptr) << "its own action replaces taking the focus";
    EXPECT_EQ(tree.State(1), unsigned(StateFocusable));
    form.SetFocus(&dial);
    EXPECT_EQ(tree.State(1), unsigned(StateFocusable | StateFocused));

    EXPECT_EQ(tree.DefaultAction(2), L"Check");
    lamp.lit = true;
    EXPECT_EQ(tree.State(2), unsigned(StateChecked));
    EXPECT_EQ(tree.DefaultAction(2), L"Uncheck");
    EXPECT_FALSE(tree.TakesValue(2));
    EXPECT_FALSE(tree.SetValue(2, L"1"));

    EXPECT_EQ(tree.DefaultAction(3), L"Press");
    EXPECT_EQ(tree.DoDefaultAction(3), Result::Done);
    EXPECT_EQ(form.Focused(), &dial) << "a control that takes no focus leaves it";
    EXPECT_EQ(tree.Value(3), std::nullopt);
}

TEST(AccessibleTree, ChangesAreAnnouncedForTheRightControl) {
    Window w;
    auto& events = w.host.accessibleEvents;
    auto take = [&] { return std::exchange(events, {}); };

    w.f.CopyBtn->SetEnabled(true);
    w.f.CopyBtn->SetEnabled(true); // no change, nothing to tell
    EXPECT_EQ(take(), (std::vector<Event>{{AccessibleEvent::StateChange, "CopyBtn"}}));

    // Latched by the mouse as by the default action.
    auto [x, y] =
        std::pair{(w.f.TopBtn->PhysicalRect().left + w.f.TopBtn->PhysicalRect().right) / 2,
                  (w.f.TopBtn->PhysicalRect().top + w.f.TopBtn->PhysicalRect().bottom) / 2};
    w.form.HostMouseDown(x, y, MouseButton::Left, 0);
    w.form.HostMouseUp(x, y, MouseButton::Left, 0);
    w.tree.DoDefaultAction(w.Id(w.f.TopBtn));
    EXPECT_EQ(take(), (std::vector<Event>{{AccessibleEvent::StateChange, "TopBtn"},
                                          {AccessibleEvent::StateChange, "TopBtn"}}));

    w.form.HostKeyDown(toolkit::Key::Tab, 0);
    EXPECT_EQ(take(), (std::vector<Event>{{AccessibleEvent::Focus, "NBoxH"}}));
    w.form.HostChar(L'5');
    EXPECT_EQ(take(), (std::vector<Event>{{AccessibleEvent::ValueChange, "NBoxH"}}));
    w.form.HostChar(L'x'); // not accepted: the text does not change
    EXPECT_TRUE(take().empty());
    w.tree.SetValue(w.Id(w.f.NBoxW), L"640");
    EXPECT_EQ(take(), (std::vector<Event>{{AccessibleEvent::ValueChange, "NBoxW"}}));
    // A tool button's click takes no focus and so tells no focus change.
    w.tree.DoDefaultAction(w.Id(w.f.CutBtn));
    EXPECT_TRUE(take().empty());
}

} // namespace
