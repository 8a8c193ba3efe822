// Placing the frameless window from the keyboard, pixel by pixel: which key
// presses move the window or resize it from its bottom-right corner, and
// which go on to the control that holds the keyboard focus. A number box
// keeps every key it edits with (plain and Shift arrows among them), so the
// Ctrl variants place the window whatever has the focus.
#pragma once

#include "toolkit/Input.h"

namespace toolkit {

enum class KeyAction {
    ToFocused, // the focused control's, if any: not a placement key
    Move,      // left and top shift by (dx, dy), the size stays
    Resize,    // width and height change by (dx, dy), left and top stay
};

struct KeyPlacement {
    KeyAction action = KeyAction::ToFocused;
    int dx = 0; // logical units
    int dy = 0;

    bool operator==(const KeyPlacement&) const = default;
};

// What one key press does. Arrow keys step by one logical unit: Right and
// Down move right and down, or grow; Left and Up move left and up, or
// shrink. Without Ctrl an arrow places the window unless the focused
// control keeps the plain arrows (focusedKeepsArrows); Shift makes it a
// resize. Alt with an arrow never places the window: that is the system's
// and the boxes' as it always was.
KeyPlacement PlacementForKey(Key key, unsigned modifiers, bool focusedKeepsArrows);

} // namespace toolkit
