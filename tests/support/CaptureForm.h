// The capture window's own definition on a bare toolkit form, with none of
// the program's handlers: those reach the screen and the clipboard, and the
// portable tests and benchmarks need only the real window's controls.
#pragma once

#include "app/Unit1Definition.h"
#include "toolkit/Form.h"

namespace shapes {

struct CaptureForm : Form1Controls {
    toolkit::Form form{"Form1"};

    CaptureForm() { static_cast<Form1Controls&>(*this) = MakeForm1Controls(form); }
};

} // namespace shapes
