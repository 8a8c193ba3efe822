// Input as the toolkit's controls see it: buttons, modifier keys, keys and
// cursor shapes, free of any window system's codes.
#pragma once

#include <cstdint>

namespace toolkit {

enum class MouseButton { Left, Right, Middle };

enum Modifier : unsigned {
    NoModifier = 0,
    ShiftKey = 1,
    CtrlKey = 2,
    AltKey = 4,
    LeftButtonDown = 8,
};

enum class Key {
    Other,
    Left,
    Right,
    Home,
    End,
    Up,
    Down,
    Backspace,
    Delete,
    Enter,
    Escape,
    Tab,
    SelectAll, // Ctrl+A
    Copy,      // Ctrl+C
    Cut,       // Ctrl+X
    Paste,     // Ctrl+V
};

enum class Cursor { Arrow, IBeam, SizeNwse };

} // namespace toolkit
