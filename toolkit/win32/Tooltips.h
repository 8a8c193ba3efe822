// The common controls' tooltip window, with one tool per control that has a
// hint. The controls are not windows, so each tool is a rectangle of the
// host window, moved whenever the layout changes.
#pragma once

#include "platform/Gdi.h"
#include "platform/Win.h"
#include "toolkit/Control.h"

#include <string>
#include <vector>

namespace toolkit::win32 {

class Tooltips {
public:
    void Attach(HWND owner);
    // Brings the tools in line with the controls' places and hints.
    // offsetX/Y: where the system window starts within the form's window.
    void Update(Control& root, int offsetX = 0, int offsetY = 0);
    HWND Handle() const { return tooltip_.get(); }

private:
    struct Tool {
        RectI rect;
        std::wstring text;
    };
    HWND owner_ = nullptr;
    platform::UniqueHwnd tooltip_;
    std::vector<Tool> tools_;
};

} // namespace toolkit::win32
