// The save-file dialog object of a window: its settings live as long as the
// window, and each Execute shows the system's common item dialog for saving,
// made afresh, with every option flag cleared.
#pragma once

#include "platform/Win.h"

#include <string>

namespace toolkit::win32 {

class TSaveDialog {
public:
    std::wstring DefaultExt;
    std::wstring Filter;
    std::wstring FileName;
    int FilterIndex = 1;
    std::wstring Title;

    // Shows the dialog modally over owner. True when the user accepted a
    // name, which is then FileName (the item's full file-system path).
    bool Execute(HWND owner);
};

} // namespace toolkit::win32
