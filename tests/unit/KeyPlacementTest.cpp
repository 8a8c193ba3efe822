// Which key presses place the window and which stay with a focused size box:
// arrows move, Shift+arrows resize, Ctrl reaches past a focused box, Alt and
// every other key go to the focused control (the rule alone; the same keys
// through the form are tested in KeyboardPlacementTest.cpp).
#include "toolkit/KeyPlacement.h"

#include <gtest/gtest.h>

namespace {

using toolkit::Key;
using toolkit::KeyAction;
using toolkit::KeyPlacement;
using toolkit::PlacementForKey;

constexpr unsigned Shift = toolkit::ShiftKey;
constexpr unsigned Ctrl = toolkit::CtrlKey;
constexpr unsigned Alt = toolkit::AltKey;

TEST(KeyPlacement, ArrowsByModifiersAndFocus) {
    struct Direction {
        Key key;
        int dx;
        int dy;
    };
    // Right and Down move right and down, or grow; Left and Up the other way.
    const Direction directions[] = {
        {Key::Left, -1, 0}, {Key::Right, 1, 0}, {Key::Up, 0, -1}, {Key::Down, 0, 1}};
    struct Case {
        const char* name;
        unsigned modifiers;
        bool boxFocused;
        KeyAction action;
    };
    const Case cases[] = {
        {"plain, no focus", 0, false, KeyAction::Move},
        {"Shift, no focus", Shift, false, KeyAction::Resize},
        {"Ctrl, no focus", Ctrl, false, KeyAction::Move},
        {"Ctrl+Shift, no focus", Ctrl | Shift, false, KeyAction::Resize},
        {"plain, box focused", 0, true, KeyAction::ToFocused},
        {"Shift, box focused", Shift, true, KeyAction::ToFocused},
        {"Ctrl, box focused", Ctrl, true, KeyAction::Move},
        {"Ctrl+Shift, box focused", Ctrl | Shift, true, KeyAction::Resize},
        {"Alt, no focus", Alt, false, KeyAction::ToFocused},
        {"Alt+Shift, no focus", Alt | Shift, false, KeyAction::ToFocused},
        {"Ctrl+Alt, no focus", Ctrl | Alt, false, KeyAction::ToFocused},
        {"Ctrl+Alt+Shift, box focused", Ctrl | Alt | Shift, true, KeyAction::ToFocused},
        {"Alt, box focused", Alt, true, KeyAction::ToFocused},
        // A mouse button held while the key goes down changes nothing.
        {"plain with the left button down", toolkit::LeftButtonDown, false, KeyAction::Move},
    };
    for (const Case& c : cases) {
        for (const Direction& d : directions) {
            SCOPED_TRACE(testing::Message() << c.name << ", key " << int(d.key));
            const KeyPlacement expected = c.action == KeyAction::ToFocused
                                              ? KeyPlacement{}
                                              : KeyPlacement{c.action, d.dx, d.dy};
            EXPECT_EQ(PlacementForKey(d.key, c.modifiers, c.boxFocused), expected);
        }
    }
}

TEST(KeyPlacement, OtherKeysAlwaysGoToTheFocusedControl) {
    const Key keys[] = {Key::Home,  Key::End,    Key::Backspace, Key::Delete,
                        Key::Enter, Key::Escape, Key::Tab,       Key::SelectAll,
                        Key::Copy,  Key::Cut,    Key::Paste,     Key::Other};
    for (Key key : keys) {
        for (unsigned modifiers : {0u, Shift, Ctrl, Ctrl | Shift, Alt}) {
            for (bool focused : {false, true}) {
                SCOPED_TRACE(testing::Message() << "key " << int(key) << " modifiers " << modifiers
                                                << " focused " << focused);
                EXPECT_EQ(PlacementForKey(key, modifiers, focused), KeyPlacement{});
            }
        }
    }
}

} // namespace
