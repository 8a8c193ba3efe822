// The capture window's definition as data the toolkit builds: every control
// with its place, size, anchors, colours, texts, hints, fonts and tab order.
// It needs no window system, so the program, the portable tests and the
// benchmarks all build the one real window from here; the program passes its
// handlers in, the others leave them out.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/GridLayout.h"
#include "toolkit/NumberBox.h"
#include "toolkit/RectangleControl.h"
#include "toolkit/ToolButton.h"

#include <array>
#include <cstdint>
#include <functional>

// The window's size when made, in logical units.
inline constexpr int Form1Width = 501;
inline constexpr int Form1Height = 368;
inline constexpr float TitleBarHeight = 36;

// The title bar's colours: its own, the copy flash and the countdown.
inline constexpr toolkit::Argb SlateGrey = 0xFF708090;
inline constexpr toolkit::Argb Yellow = 0xFFFFFF00;
inline constexpr toolkit::Argb GreenYellow = 0xFFADFF2F;

// The handlers the definition wires; any left empty stays unwired.
struct Form1Handlers {
    std::function<void()> FormCreate;
    std::function<void()> FormClose;
    toolkit::Control::MouseNotify Rectangle1MouseDown;
    toolkit::Control::MouseNotify Rectangle2MouseDown;
    toolkit::Control::Notify ExitBtnClick;
    toolkit::Control::Notify TopBtnClick;
    toolkit::Control::Notify CutBtnClick;
    toolkit::Control::Notify CopyWindBtnClick;
    toolkit::Control::Notify CopyBtnClick;
    toolkit::Control::Notify SaveBmpBtnClick;
    toolkit::Control::Notify SavePngBtnClick;
    toolkit::Control::Notify SetRectBtnClick;
    toolkit::Control::Notify NBoxWDblClick;
    toolkit::Control::Notify NBoxHDblClick;
};

// The controls, in the definition's order; the form owns them.
struct Form1Controls {
    toolkit::RectangleControl* Rectangle1 = nullptr;
    toolkit::RectangleControl* Rectangle2 = nullptr;
    toolkit::ToolButton* ExitBtn = nullptr;
    toolkit::GridLayout* GridLayout1 = nullptr;
    toolkit::ToolButton* TopBtn = nullptr;
    toolkit::ToolButton* CutBtn = nullptr;
    toolkit::ToolButton* CopyWindBtn = nullptr;
    toolkit::GridLayout* GridLayout2 = nullptr;
    toolkit::ToolButton* CopyBtn = nullptr;
    toolkit::ToolButton* SaveBmpBtn = nullptr;
    toolkit::ToolButton* SavePngBtn = nullptr;
    toolkit::ToolButton* SetRectBtn = nullptr;
    toolkit::NumberBox* NBoxW = nullptr;
    toolkit::NumberBox* NBoxH = nullptr;

    // The title bar's buttons as they are seen, left to right.
    std::array<toolkit::ToolButton*, 8> Buttons() const {
        return {TopBtn, CutBtn, CopyWindBtn, CopyBtn, SaveBmpBtn, SavePngBtn, SetRectBtn, ExitBtn};
    }
};

// Sizes the form to the window's initial size and adds every control to it.
Form1Controls MakeForm1Controls(toolkit::Form& form, const Form1Handlers& handlers = {});

// A region capture shrinks the window to its title bar first, so the
// viewfinder never shows in its own capture, and gives the viewfinder its
// height back afterwards. Collapsing returns rh, the viewfinder's height
// truncated to whole units: the height the capture copies and the restore
// gives back, so the window ends where it began.
std::int32_t CollapseToTitleBar(toolkit::Form& form, const Form1Controls& controls);
void RestoreViewfinderHeight(toolkit::Form& form, const Form1Controls& controls, std::int32_t rh);
