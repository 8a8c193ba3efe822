#include "toolkit/KeyPlacement.h"

namespace toolkit {

KeyPlacement PlacementForKey(Key key, unsigned modifiers, bool focusedKeepsArrows) {
    int dx = 0;
    int dy = 0;
    switch (key) {
    case Key::Left:
        dx = -1;
        break;
    case Key::Right:
        dx = 1;
        break;
    case Key::Up:
        dy = -1;
        break;
    case Key::Down:
        dy = 1;
        break;
    default:
        return {};
    }
    const bool ctrl = (modifiers & CtrlKey) != 0;
    if ((modifiers & AltKey) != 0 || (focusedKeepsArrows && !ctrl)) {
        return {};
    }
    const KeyAction action = (modifiers & ShiftKey) != 0 ? KeyAction::Resize : KeyAction::Move;
    return {action, dx, dy};
}

} // namespace toolkit
