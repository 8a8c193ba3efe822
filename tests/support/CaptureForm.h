// The capture window's own definition on a bare toolkit form, with none of
// the program's handlers: those reach the screen and the clipboard, and the
// portable tests and benchmarks need only the real window's controls.
#pragma once

#include "app/Unit1Definition.h"
#include "toolkit/Form.h"

namespace shapes {

// The title bar's height in whole logical units, as the definition has it.
inline constexpr int TitleBar = static_cast<int>(TitleBarHeight);

struct CaptureForm : Form1Controls {
    toolkit::Form form{"Form1"};

    CaptureForm() { static_cast<Form1Controls&>(*this) = MakeForm1Controls(form); }

    // The program's mouse wiring of the window itself: a press on the title
    // bar moves the window, one on the viewfinder resizes it, whatever
    // button was pressed.
    void WireWindowTracking() {
        Rectangle2->onMouseDown = [this](auto&, auto, auto, auto, auto) { form.StartWindowDrag(); };
        Rectangle1->onMouseDown = [this](auto&, auto, auto, auto, auto) {
            form.StartWindowResize();
        };
    }
};

} // namespace shapes
