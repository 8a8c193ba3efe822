// The user's side of the save dialog and of the error display. A save
// command blocks in the system's modal dialog on the thread that runs it, so
// a helper thread plays the user: it finds the dialog, notes what its name
// box holds, types the answer into it and accepts (or cancels), then reads
// and closes every message box that follows. The command itself runs
// unchanged, real dialog included, and the test learns what the user saw.
#pragma once

#include "tests/win/WinTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace wintest {

struct DialogAnswer {
    std::wstring name;  // put into the name box before accepting
    bool accept = true; // false: the dialog is cancelled and name is unused
};

struct SaveRun {
    // What each save dialog's name box held when it opened, one entry per
    // dialog shown; a dialog without a name box the driver could find is
    // recorded as "<no name box>" and cancelled.
    std::vector<std::wstring> nameBoxes;
    // Every message box shown, in order; each was closed with OK.
    std::vector<MessageBoxWatcher::Box> boxes;
};

// Runs command on this thread while the helper answers the first save
// dialog with answer and cancels any later one. Returns once the command
// has returned.
SaveRun RunWithSaveDialog(const std::function<void()>& command, const DialogAnswer& answer);

} // namespace wintest
