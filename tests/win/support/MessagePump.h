// Letting this thread's messages flow while a test waits: posted repaints,
// closes, cross-process calls and hook callbacks all need them.
#pragma once

#include "platform/Win.h"

#include <functional>

namespace wintest {

// Processes this thread's messages for a while (lets posted repaints and
// closes happen).
void Pump(DWORD milliseconds);

// Waits until predicate holds or time runs out; pumps messages meanwhile.
bool WaitFor(const std::function<bool()>& predicate, DWORD milliseconds);

} // namespace wintest
