// The capture window's form as the window system would hold it, for the
// unit tests that drive it from outside: on a host that records every call
// the form makes of it, optionally with the pattern rasterizer for glyphs,
// created, at a scale and at a place on the screen. A test's own window
// derives from it and opens it in its constructor, after its own members
// (an Opening set field by field: GCC warns of designated initializers that
// leave fields to their defaults).
#pragma once

#include "app/Unit1Definition.h"
#include "tests/support/CaptureForm.h"
#include "tests/support/FakeFormHost.h"
#include "toolkit/Form.h"

#include <functional>

namespace fakes {

struct HostedForm {
    RecordingHost host;
    PatternRasterizer glyphs;
    shapes::CaptureForm f;
    toolkit::Form& form = f.form;

    struct Opening {
        float scale = 1.25f;
        // The window's top-left corner on the screen, at the definition's
        // size; unplaced, the form keeps what creating it gave.
        bool placed = true;
        int left = 40;
        int top = 30;
        // Glyphs drawn by the pattern rasterizer; without, none are drawn.
        bool drawGlyphs = false;
        // The program's own wiring: the title bar moves, the viewfinder resizes.
        bool windowTracking = false;
        // Runs once the form is created, before it is scaled and placed.
        std::function<void()> created;

        // At a scale and a place, with the program's own window tracking.
        static Opening Tracked(float scale, int left, int top) {
            Opening opening;
            opening.scale = scale;
            opening.left = left;
            opening.top = top;
            opening.windowTracking = true;
            return opening;
        }
    };

    void Open(const Opening& opening) {
        form.AttachHost(&host, opening.drawGlyphs ? &glyphs : nullptr);
        if (opening.windowTracking) {
            f.WireWindowTracking();
        }
        form.Create();
        if (opening.created) {
            opening.created();
        }
        form.SetScale(opening.scale);
        if (opening.placed) {
            form.SetWindowBounds(opening.left, opening.top, Form1Width, Form1Height);
        }
    }
};

} // namespace fakes
