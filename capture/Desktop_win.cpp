#include "capture/Desktop.h"

#include "platform/Display.h"

namespace capture {

Desktop CurrentDesktop() {
    // Every display, not the primary alone: a viewfinder on any of them is
    // captured. What lies between displays of different sizes is on none
    // and comes out white, as what lies off the desktop does.
    const RECT bounds = platform::VirtualScreen();
    Desktop desktop{{bounds.left, bounds.top, bounds.right, bounds.bottom}, {}};
    for (const RECT& r : platform::DisplayRects()) {
        desktop.displays.push_back({r.left, r.top, r.right, r.bottom});
    }
    if (desktop.displays.empty()) {
        desktop.displays.push_back(desktop.bounds);
    }
    return desktop;
}

} // namespace capture
