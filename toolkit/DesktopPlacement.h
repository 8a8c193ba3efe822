// Where the window goes on a desktop of several displays: its first place,
// centred on the desktop, and its place after the displays changed, when
// the one it was on may be gone. Both pull the window into a display's work
// area with the same arithmetic, in logical units whose edges land inside
// the work area's pixels. The host lists the displays; this decides, so
// every layout can be tried without one.
#pragma once

#include "toolkit/Geometry.h"

#include <optional>
#include <vector>

namespace toolkit {

// One display, in physical screen pixels: all of it, and the part that
// panels and task bars leave to windows.
struct DisplayArea {
    RectI monitor;
    RectI work;
};

// A window's logical left and top edges.
struct WindowPlace {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPlace&) const = default;
};

// Whether each corner pixel the window paints (its first and last row and
// column, WindowPixels with its top barHeight units of bars) lies on a
// display.
bool CornersOnDisplays(const std::vector<DisplayArea>& displays, const WindowPlace& place,
                       int width, int height, int barHeight, float scale);

// The window of this logical size centred on the desktop (the bounding
// rectangle of the displays), halves truncated. If a corner then lies on no
// display, it is pulled vertically into the work area whose centre lies
// nearest the desktop's centre, and then, if a corner still lies on no
// display, horizontally as well.
WindowPlace CentredOnDesktop(const std::vector<DisplayArea>& displays, const RectI& desktop,
                             int width, int height, int barHeight, float scale);

// After a change of displays: nothing while some part of the title bar (the
// window's top barHeight logical units) lies on a display's work area.
// Otherwise the place in the work area of the display nearest the window,
// the size kept: pulled vertically, and horizontally too while a corner lies
// on no display or the title bar on no work area. Nothing without displays.
std::optional<WindowPlace> PulledOntoDisplay(const std::vector<DisplayArea>& displays,
                                             const WindowPlace& place, int width, int height,
                                             int barHeight, float scale);

} // namespace toolkit
