// A window manager that keeps windows on the screen answers the program's
// own placement of a window that reaches off the desktop by moving it
// wholly onto it (openbox does, under Wine). That place is no move of the
// user's: taking it would make a window placed across the desktop's edge
// drift inward at the next report, and a capture there would no longer be
// where it was asked for.
#pragma once

#include "toolkit/Geometry.h"

namespace toolkit {

// Whether a reported place that is not one the program handed over is the
// window manager pulling the program's window onto the desktop: the form's
// window (as the form places it) reaches off the desktop, and the same
// window at the reported top-left corner lies wholly on it.
bool KeptOnScreen(RectI formWindow, int reportedLeft, int reportedTop, RectI desktop);

} // namespace toolkit
