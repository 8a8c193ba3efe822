// What a form needs from the window system that shows it. The Windows host
// implements it with a layered window; tests use a recording fake.
#pragma once

#include "toolkit/Accessible.h"
#include "toolkit/Geometry.h"
#include "toolkit/Input.h"

#include <exception>

namespace toolkit {

class Control;

class FormHost {
public:
    virtual ~FormHost() = default;
    // Places the window (physical screen pixels) and shows the new content
    // at once, in one step, so the screen never shows one without the other.
    virtual void Present(RectI screenRect) = 0;
    // Schedules a repaint at the next pass of the event loop.
    virtual void ScheduleRepaint() = 0;
    virtual void SetCursorShape(Cursor cursor) = 0;
    virtual void CaptureMouse(bool capture) = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual void RequestClose() = 0;
    // Shows the error once on the error display.
    virtual void ReportError(const std::exception& error) = 0;
    // The controls' places or hints changed (tooltips follow them).
    virtual void ControlsMoved() = 0;
    // A change that assistive technology follows; hosts without an
    // accessibility provider ignore it.
    virtual void AccessibleChanged(AccessibleEvent, Control&) {}
};

} // namespace toolkit
