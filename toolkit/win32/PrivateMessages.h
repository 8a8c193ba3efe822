// Every message number our windows post to themselves, in one place, so no
// two uses can share a number by accident and a new one is numbered beside
// the others.
#pragma once

#include "platform/Win.h"

namespace toolkit::win32 {

// A host window has a command waiting in its queue (WindowCommands.h); each
// post runs the oldest one.
constexpr UINT RunCommandMessage = WM_APP + 1;

} // namespace toolkit::win32
