// DirectWrite reports failures as HRESULTs; the program shows errors as
// exceptions carrying a text for the user. This is the one crossing point.
#pragma once

#include "platform/Win.h"

namespace toolkit::win32 {

// Throws platform::Error with the system's text for `result` (trimmed), or
// the out-of-resources text when the system has none.
void ThrowIfFailed(HRESULT result);

} // namespace toolkit::win32
