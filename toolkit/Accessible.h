// What assistive technology is told about a control, free of any platform's
// accessibility codes: its role, its state bits, the changes a screen reader
// follows, and the directions it navigates in.
#pragma once

namespace toolkit {

enum class AccessibleRole {
    None, // not shown to assistive technology (containers, layouts)
    Window,
    PushButton,
    CheckButton,
    EditableText,
    Graphic,
};

enum AccessibleState : unsigned {
    StateNormal = 0,
    StateUnavailable = 1,
    StateChecked = 2,
    StateFocusable = 4,
    StateFocused = 8,
    StateInvisible = 16,
};

enum class AccessibleEvent {
    Focus,       // a control took the keyboard focus
    StateChange, // enabled, disabled, latched or released
    ValueChange, // the text a box shows changed
};

enum class NavDirection { Up, Down, Left, Right, Next, Previous, FirstChild, LastChild };

} // namespace toolkit
