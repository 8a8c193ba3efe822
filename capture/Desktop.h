// The desktop a region capture copies: the virtual screen (every display's
// bounding rectangle) and where the displays lie within it, as the system
// reports them now.
#pragma once

#include "capture/Geometry.h"

#include <vector>

namespace capture {

// What a snapshot covers: its bounds on the screen (the virtual screen, the
// bounding rectangle of all displays) and where the displays lie within
// them.
struct Desktop {
    ScreenRect bounds;
    std::vector<ScreenRect> displays;
};

// The desktop as the system reports it now: every display.
Desktop CurrentDesktop();

} // namespace capture
